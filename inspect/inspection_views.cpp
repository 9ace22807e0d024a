#include "inspect/inspection_views.h"

#include "browser/dom.h"
#include "browser/twebbrowser.h"

#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace larkspan {
namespace {

// Pages whose tab the window shows from the start.
constexpr bool kShownAtFirst[] = {true, true, false, false, false, false, false, true};

QListWidget* listView(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(QFont(QStringLiteral("Courier New")));
    return list;
}

// Replaces the lines of the list; also when filling them raised an error on the way.
void fillList(QListWidget* list, const std::function<void(QStringList&)>& fill) {
    QStringList lines;
    const auto show = qScopeGuard([&] {
        list->clear();
        list->addItems(lines);
    });
    fill(lines);
}

}  // namespace

InspectionViews::InspectionViews(QWidget* parserPanel, TreeImages images, QWidget* parent)
    : QWidget(parent), m_images(std::move(images)) {
    setObjectName(QStringLiteral("TabSheet7"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    PageControlInfos = new QTabWidget(this);
    PageControlInfos->setObjectName(QStringLiteral("PageControlInfos"));
    PageControlInfos->setTabPosition(QTabWidget::South);

    const QFont courier(QStringLiteral("Courier New"));
    SourceEdit = new QPlainTextEdit(PageControlInfos);
    SourceEdit->setObjectName(QStringLiteral("SourceEdit"));
    SourceEdit->setFont(courier);
    SourceEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    PlainTextEdit = new QPlainTextEdit(PageControlInfos);
    PlainTextEdit->setObjectName(QStringLiteral("PlainTextEdit"));
    PlainTextEdit->setReadOnly(true);
    LbLinks = listView("LbLinks", PageControlInfos);
    LbFrames = listView("LbFrames", PageControlInfos);
    lbImages = listView("lbImages", PageControlInfos);
    LbFields = listView("LbFields", PageControlInfos);
    TreeView1 = new QTreeWidget(PageControlInfos);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setFont(courier);
    TreeView1->setHeaderHidden(true);

    const std::pair<QWidget*, QString> pages[] = {
        {SourceEdit, QStringLiteral("Source")},     {PlainTextEdit, QStringLiteral("Plain Text")},
        {LbLinks, QStringLiteral("Links")},         {LbFrames, QStringLiteral("Frames")},
        {lbImages, QStringLiteral("Images")},       {LbFields, QStringLiteral("Fields")},
        {TreeView1, QStringLiteral("Object View")}, {parserPanel, QStringLiteral("Parser")},
    };
    for (const auto& [view, caption] : pages) {
        PageControlInfos->addTab(view, caption);
    }
    setAllTabsShown(false);
    PageControlInfos->setCurrentIndex(Parser);
    layout->addWidget(PageControlInfos);
    connect(PageControlInfos, &QTabWidget::currentChanged, this, &InspectionViews::viewChosen);
}

void InspectionViews::setAllTabsShown(bool shown) {
    for (int page = Source; page <= Parser; ++page) {
        PageControlInfos->setTabVisible(page, shown || kShownAtFirst[page]);
    }
}

void InspectionViews::refresh(TWebbrowser* inspected, TWebbrowser* captureBrowser) {
    if (inspected == nullptr || !inspected->Document()) {
        return;
    }
    switch (PageControlInfos->currentIndex()) {
        case Source:
            SourceEdit->setPlainText(ReadDocumentSource(inspected));
            break;
        case PlainText:
            fillPlainText(captureBrowser);
            break;
        case Links:
            fillList(LbLinks,
                     [inspected](QStringList& lines) { ListDocumentLinks(inspected, lines); });
            break;
        case Frames:
            fillList(LbFrames,
                     [inspected](QStringList& lines) { ListFrameAddresses(inspected, lines); });
            break;
        case Images:
            fillList(lbImages,
                     [inspected](QStringList& lines) { ListImageFiles(inspected, lines); });
            break;
        case Fields:
            fillList(LbFields,
                     [inspected](QStringList& lines) { ListFormFields(inspected, lines); });
            break;
        case ObjectView:
            BuildFormTree(TreeView1, inspected, m_images);
            break;
        default:
            break;
    }
}

void InspectionViews::fillPlainText(TWebbrowser* captureBrowser) {
    try {
        const auto document = captureBrowser->Document();
        const auto body = document && document->isHtmlDocument() ? document->body() : nullptr;
        if (body) {
            PlainTextEdit->setPlainText(body->innerText());
        }
    } catch (const dom::DomError&) {
    }
}

}  // namespace larkspan
