#pragma once

#include "inspect/document_views.h"

#include <QWidget>

class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

namespace larkspan {

class TWebbrowser;

// The "Parsing Info" page: the view pages of `PageControlInfos` along its bottom edge (Source,
// Plain Text, Links, Frames, Images, Fields, Object View and the capture's Parser panel), each
// filled on demand from a browser's document.
class InspectionViews : public QWidget {
    Q_OBJECT

public:
    enum Page { Source, PlainText, Links, Frames, Images, Fields, ObjectView, Parser };

    // Takes the Parser panel, which the capture fills, as the last page.
    InspectionViews(QWidget* parserPanel, TreeImages images, QWidget* parent = nullptr);

    QTabWidget* pageControl() const { return PageControlInfos; }

    // Fills the active view: from the inspected browser, and the Plain Text view from the
    // capture tab's. Nothing changes without an inspected browser or its document.
    void refresh(TWebbrowser* inspected, TWebbrowser* captureBrowser);
    // The body text of the capture tab's document; left as it is when there is none.
    void fillPlainText(TWebbrowser* captureBrowser);
    // Shows or hides the tabs of the views that are hidden at first.
    void setAllTabsShown(bool shown);

signals:
    // The user has chosen another view.
    void viewChosen();

private:
    QTabWidget* PageControlInfos;
    QPlainTextEdit* SourceEdit;
    QPlainTextEdit* PlainTextEdit;
    QListWidget* LbLinks;
    QListWidget* LbFrames;
    QListWidget* lbImages;
    QListWidget* LbFields;
    QTreeWidget* TreeView1;
    TreeImages m_images;
};

}  // namespace larkspan
