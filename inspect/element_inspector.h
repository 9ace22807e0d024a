#pragma once

#include "browser/page_inspection.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace larkspan {

class TWebbrowser;

// "Show Element under Mouse Cursor:" and the element panel `PnlElementInfo1` under it: seven
// rows that show the element under the mouse cursor while the box is checked, refreshed on
// every tick of the window's one-second timer.
class ElementInspector : public QWidget {
    Q_OBJECT

public:
    explicit ElementInspector(QWidget* parent = nullptr);

    // Shows the element of the browser's page under the cursor, when the box is checked. Boxes
    // keep their text where nothing is found. An engine error is raised the first time it comes;
    // the same error on the ticks after it is not raised again until a tick has succeeded.
    void refresh(TWebbrowser* current, const QPoint& cursor);
    // Writes the element into the rows; `href` only when the element has one.
    void show(const browser::ElementInfo& element);

private:
    void chkShowElementInfoClick();

    QCheckBox* chkShowElementInfo;
    QWidget* PnlElementInfo1;
    QLineEdit* edElementTag;
    QLineEdit* edElementId;
    QLineEdit* edElementinnerHTML;
    QLineEdit* edElementclassName;
    QLineEdit* edElementinnerText;
    QLineEdit* edElementhref;
    QLineEdit* edElementSrc;
    QString m_lastError;
};

}  // namespace larkspan
