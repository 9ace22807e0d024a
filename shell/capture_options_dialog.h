#pragma once

#include "capture/page_turn_delay.h"
#include "shell/listings_from.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QDoubleSpinBox;
class QSpinBox;

namespace larkspan {

inline constexpr int kDefaultJournalLimitMegabytes = 500;

// What the window's capture runs do beyond the plain capture; both off unless chosen. And the
// size the run journal is kept under, and where runs take their listings from.
struct CaptureOptions {
    bool dropRepeatedListings = false;
    PageTurnDelay delay;
    int journalLimitMegabytes = kDefaultJournalLimitMegabytes;
    ListingsFrom listingsFrom = {};
    // Capture runs the searches of the list, one after another, instead of the page shown.
    bool captureList = false;
    // First result pages, addresses or files, one a line; "#" lines and blank ones are left out.
    QStringList searchList = {};
};

// The capture options, edited: where the listings come from (the three sources and each saved
// profile), a list of searches to capture instead of the page shown, dropping repeated listings, a
// pause before each page turn, fixed or random between two lengths, and the size the run journal is
// kept under.
class CaptureOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // What exec() gives when the user asked to detect the listings of the page instead.
    static constexpr int kDetectListings = 2;

    // Offers the sources in `offered`, which must hold the options' own.
    CaptureOptionsDialog(const CaptureOptions& options, const QList<ListingsFrom>& offered,
                         QWidget* parent = nullptr);

    CaptureOptions options() const;

private:
    QList<ListingsFrom> m_offered;
    QComboBox* m_listingsFrom;
    QCheckBox* m_dropRepeated;
    QDoubleSpinBox* m_shortest;
    QDoubleSpinBox* m_longest;
    QSpinBox* m_journalLimit;
    QCheckBox* m_captureList;
    QPlainTextEdit* m_searchList;
};

}  // namespace larkspan
