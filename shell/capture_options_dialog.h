#pragma once

#include "capture/page_turn_delay.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

namespace larkspan {

inline constexpr int kDefaultJournalLimitMegabytes = 500;

// What the window's capture runs do beyond the plain capture; both off unless chosen. And the
// size the run journal is kept under.
struct CaptureOptions {
    bool dropRepeatedListings = false;
    PageTurnDelay delay;
    int journalLimitMegabytes = kDefaultJournalLimitMegabytes;
};

// The capture options, edited: dropping repeated listings, a pause before each page turn,
// fixed or random between two lengths, and the size the run journal is kept under.
class CaptureOptionsDialog : public QDialog {
    Q_OBJECT

public:
    CaptureOptionsDialog(const CaptureOptions& options, QWidget* parent = nullptr);

    CaptureOptions options() const;

private:
    QCheckBox* m_dropRepeated;
    QDoubleSpinBox* m_shortest;
    QDoubleSpinBox* m_longest;
    QSpinBox* m_journalLimit;
};

}  // namespace larkspan
