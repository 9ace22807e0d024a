#pragma once

#include "capture/listing_source_choice.h"
#include "capture/page_chain.h"
#include "capture/run_end.h"

#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace larkspan {

// Where a page of a search came from, as the run keeps it.
struct PageOrigin {
    QString address;
    // What an automatic choice took for the search, once it has.
    std::optional<ListingSourceChoice> taken = {};
};

// The pages of searches captured at the same time, handed on in the order of the list, as if
// the searches had run one after another: the pages of the first search not ended as they come,
// the others' kept until their turn. Searches are numbered by their place in the list.
class SearchesInOrder {
public:
    // Hands on a page of the search. An error it throws ends that search (see searchEnded).
    using Keep =
        std::function<void(int search, const CapturedPage& page, const PageOrigin& origin)>;
    // Hands on the end of a search, its pages all kept; false ends the batch there, and nothing
    // more is handed on.
    using Ended = std::function<bool(int search, const RunEnd& end)>;

    SearchesInOrder(int firstSearch, Keep keep, Ended ended);

    void pageCaptured(int search, const CapturedPage& page, const PageOrigin& origin);
    void searchEnded(int search, const RunEnd& end);

    // The first search not handed on whole.
    int first() const { return m_first; }
    // Whether the batch ended early: the searches after it need not go on.
    bool closed() const { return m_closed; }

private:
    struct Held {
        QList<std::pair<CapturedPage, PageOrigin>> pages;
        std::optional<RunEnd> end;
    };

    // Hands on whatever the searches now first have kept.
    void handOn();
    // False when keeping failed: the search's end is then that error.
    bool keep(int search, const CapturedPage& page, const PageOrigin& origin);

    Keep m_keep;
    Ended m_ended;
    int m_first;
    bool m_closed = false;
    std::map<int, Held> m_held;
};

}  // namespace larkspan
