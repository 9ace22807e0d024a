#pragma once

#include <QGroupBox>

class QCheckBox;

namespace larkspan {

class TWebbrowser;

// The group "Options": no border, no scroll bars and no popup menu for the page on screen.
class DisplayOptions : public QGroupBox {
    Q_OBJECT

public:
    explicit DisplayOptions(QWidget* parent = nullptr);

    bool noPopupMenu() const;
    // Applies the checked options to the browser, after a download has completed in any browser.
    // An option that is not checked leaves the page's own styles alone: a fresh page carries
    // none of the options' marks.
    void applyAfterDownload(TWebbrowser* current) const;

signals:
    // "no border" was clicked: the current browser's page gets its border back or loses it.
    void borderClicked(bool bordered);
    // "no scrollbars" was clicked.
    void scrollBarsClicked(bool hidden);

private:
    QCheckBox* chk3DBorderStyle;
    QCheckBox* chkNoScrollBars;
    QCheckBox* chkDisablePopupMenu;
};

}  // namespace larkspan
