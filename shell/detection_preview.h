#pragma once

#include "capture/listing_detection.h"

#include <QJsonObject>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace larkspan {

namespace dom {
class Document;
}

// What detection found on the capture tab's page, while the user looks at it, switches between
// its groups and corrects their fields, before saving one as a profile: the chosen group's
// profile as it stands, and the rows it gives.
class DetectionPreview {
public:
    // Detects the listings of the page; false when it finds no group of them.
    bool detect(dom::Document& document, const QUrl& address);

    int groupCount() const { return int(m_groups.size()); }
    int group() const { return m_group; }
    // Takes the group (of those found) and reads its rows.
    void chooseGroup(int index);

    // "N listings found; fields: name, phone, ...; next page: TEXT"
    QString summary() const;
    // The result lines the group's profile gives on the page, in page order.
    const QStringList& lines() const { return m_lines; }
    const QString& listingSelector() const;
    // The profile in its file's format, as corrected.
    QJsonObject profile() const;

    // Sets a field's rule, then reads the rows again on the page.
    void setFieldRule(const QString& key, const QString& selector, const QString& attribute,
                      dom::Document& document);

private:
    void readLines();

    ListingDetection m_groups;
    int m_group = 0;
    QStringList m_lines;
};

}  // namespace larkspan
