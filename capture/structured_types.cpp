#include "capture/structured_types.h"

#include "capture/capture_data.h"

#include <algorithm>

namespace larkspan {
namespace {

const QString kOrganization = QStringLiteral("Organization");
const QString kLocalBusiness = QStringLiteral("LocalBusiness");

}  // namespace

const SchemaOrganizationTypes& SchemaOrganizationTypes::shipped() {
    static const SchemaOrganizationTypes types(
        captureDataLines(QStringLiteral("schema_organization_types.txt")));
    return types;
}

SchemaOrganizationTypes::SchemaOrganizationTypes(const QList<QStringList>& lines) {
    for (const QStringList& line : lines) {
        if (!line.isEmpty()) {
            m_types.insert(line.first(), Type{line.sliced(1)});
        }
    }
    for (auto it = m_types.keyBegin(); it != m_types.keyEnd(); ++it) {
        settle(*it, static_cast<int>(m_types.size()));
    }
}

// Works out depth and kind from the parents; the guard ends a circle in a broken list.
void SchemaOrganizationTypes::settle(const QString& name, int guard) {
    Type& type = m_types[name];
    if (type.depth >= 0 || guard < 0) {
        return;
    }
    int depth = name == kOrganization ? 0 : -1;
    bool localBusiness = name == kLocalBusiness;
    for (const QString& parent : std::as_const(type.parents)) {
        if (!m_types.contains(parent)) {
            continue;
        }
        settle(parent, guard - 1);
        const Type& above = m_types[parent];
        if (above.depth >= 0) {
            depth = std::max(depth, above.depth + 1);
        }
        localBusiness = localBusiness || above.localBusiness;
    }
    // References into m_types stay valid: settling inserts nothing new.
    Type& settled = m_types[name];
    settled.depth = depth;
    settled.localBusiness = localBusiness;
}

const SchemaOrganizationTypes::Type* SchemaOrganizationTypes::find(const QString& name) const {
    const auto found = m_types.constFind(name);
    return found == m_types.constEnd() || found->depth < 0 ? nullptr : &*found;
}

bool SchemaOrganizationTypes::isLocalBusiness(const QString& type) const {
    const Type* found = find(type);
    return found != nullptr && found->localBusiness;
}

bool SchemaOrganizationTypes::isOrganization(const QString& type) const {
    return find(type) != nullptr;
}

QString SchemaOrganizationTypes::mostSpecific(const QStringList& types) const {
    QString most;
    int mostDepth = -1;
    for (const QString& type : types) {
        if (const Type* found = find(type); found != nullptr && found->depth > mostDepth) {
            most = type;
            mostDepth = found->depth;
        }
    }
    return most;
}

QString schemaTypeName(const QString& written) {
    static const QString prefixes[] = {
        QStringLiteral("http://schema.org/"), QStringLiteral("https://schema.org/"),
        QStringLiteral("http://www.schema.org/"), QStringLiteral("https://www.schema.org/"),
        QStringLiteral("schema:")};
    const QString type = written.trimmed();
    for (const QString& prefix : prefixes) {
        if (type.startsWith(prefix, Qt::CaseInsensitive)) {
            return type.sliced(prefix.size());
        }
    }
    return type.contains(u':') || type.contains(u'/') ? QString() : type;
}

QString typeNameAsWords(const QString& name) {
    QString words;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool wordStart =
            i > 0 && c.isUpper() &&
            (name[i - 1].isLower() || name[i - 1].isDigit() ||
             (name[i - 1].isUpper() && i + 1 < name.size() && name[i + 1].isLower()));
        if (wordStart) {
            words += u' ';
        }
        words += c;
    }
    return words;
}

}  // namespace larkspan
