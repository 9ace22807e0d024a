#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace larkspan {

// Drops the listings a run has already captured: directories repeat their featured listings
// on every page. A listing is known by its listing page's address, or, when it has none, by
// its name and phone.
class ListingDedupe {
public:
    // The lines of listings not captured before, in order; the others are counted as dropped.
    // Every line kept is remembered.
    QStringList newListings(const QStringList& lines);
    // Remembers lines captured earlier in the run (a resumed run's), dropping nothing.
    void remember(const QStringList& lines);

    qint64 dropped() const { return m_dropped; }

private:
    static QString keyOf(const QString& line);

    QSet<QString> m_seen;
    qint64 m_dropped = 0;
};

}  // namespace larkspan
