#pragma once

#include <QString>

namespace larkspan {

// Why a capture run ended, and after how many captured pages.
struct RunEnd {
    enum class Cause {
        LastPage,      // no next-page link was left
        HostStopped,   // the host wanted no further page
        RepeatedPage,  // a page repeated one captured before in the run; its lines were not added
        TurnFailed,    // the next-page link was followed, but no next page arrived
        HumanCheck,    // a page asked whether a human is there, and the check was not passed
        Error,         // an error of the flattener, the page turner, the engine or the host
    };

    Cause cause = Cause::LastPage;
    int pagesCaptured = 0;
    // RepeatedPage: the page of the run that repeated an earlier one, and that earlier page.
    int repeatingPage = 0;
    int repeatedPage = 0;
    // TurnFailed, HumanCheck and Error: why, in words for the user (an error's message).
    QString failure = {};
};

// "page 3 repeats page 1"
QString repetitionText(const RunEnd& end);

// "1 page", "2 pages"
QString pageCountText(int pages);

// "Cut short after 2 pages: REASON", the last word on a run that did not end as it should.
QString cutShortText(int pagesCaptured, const QString& reason);

}  // namespace larkspan
