#pragma once

#include "capture/page_turn_delay.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;

namespace larkspan {

// What the window's capture runs do beyond the plain capture; both off unless chosen.
struct CaptureOptions {
    bool dropRepeatedListings = false;
    PageTurnDelay delay;
};

// The capture options, edited: dropping repeated listings, and a pause before each page
// turn, fixed or random between two lengths.
class CaptureOptionsDialog : public QDialog {
    Q_OBJECT

public:
    CaptureOptionsDialog(const CaptureOptions& options, QWidget* parent = nullptr);

    CaptureOptions options() const;

private:
    QCheckBox* m_dropRepeated;
    QDoubleSpinBox* m_shortest;
    QDoubleSpinBox* m_longest;
};

}  // namespace larkspan
