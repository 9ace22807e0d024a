#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace larkspan {

// The schema.org types a listing can have: Organization and every type below it, each with the
// types it is directly below (a type may have several: a Dentist is a MedicalBusiness and a
// MedicalOrganization).
class SchemaOrganizationTypes {
public:
    // The list the program ships, resources/schema_organization_types.txt.
    static const SchemaOrganizationTypes& shipped();

    // One line per type: its name, then the names of the types it is directly below.
    explicit SchemaOrganizationTypes(const QList<QStringList>& lines);

    // LocalBusiness or a type below it.
    bool isLocalBusiness(const QString& type) const;
    // Organization or a type below it.
    bool isOrganization(const QString& type) const;
    // The most specific of the types: the one farthest below Organization (the first of those
    // that are equally far); empty when none is in the list.
    QString mostSpecific(const QStringList& types) const;

private:
    struct Type {
        QStringList parents;
        int depth = -1;  // the longest way up to Organization; -1 until known
        bool localBusiness = false;
    };

    const Type* find(const QString& name) const;
    void settle(const QString& name, int guard);

    QHash<QString, Type> m_types;
};

// The schema.org name of a type as pages write it ("Restaurant", "schema:Restaurant",
// "http://schema.org/Restaurant", "https://schema.org/Restaurant"); empty for another
// vocabulary's.
QString schemaTypeName(const QString& written);

// A type's name as words: "AutoRepair" gives "Auto Repair", "HVACBusiness" "HVAC Business".
QString typeNameAsWords(const QString& name);

}  // namespace larkspan
