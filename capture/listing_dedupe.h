#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace larkspan {

// Drops the listings a run has already captured: directories repeat their featured listings
// on every page. A listing is known by its listing page's address, or, when it has none, by
// its name and phone. A listing page that several listings of one page carry (the "Part of"
// link of a group's branches) belongs to none of them: from then on the listings carrying it
// are known by name and phone.
class ListingDedupe {
public:
    // The lines of listings not captured before, in order; the others are counted as dropped.
    // Every line kept is remembered.
    QStringList newListings(const QStringList& lines);
    // Remembers the lines of a page captured earlier in the run (a resumed run's), dropping
    // nothing.
    void remember(const QStringList& lines);

    qint64 dropped() const { return m_dropped; }

private:
    struct Identity {
        QString listingPage;
        QString nameAndPhone;
    };

    QList<Identity> identitiesOf(const QStringList& lines);
    bool isKnown(const Identity& listing) const;
    void insert(const Identity& listing);

    QSet<QString> m_seenPages;
    QSet<QString> m_seenNamesAndPhones;
    QSet<QString> m_sharedPages;
    qint64 m_dropped = 0;
};

}  // namespace larkspan
