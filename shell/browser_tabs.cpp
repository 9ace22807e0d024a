#include "shell/browser_tabs.h"

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "browser/wb_funcs.h"
#include "browser/web_document.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace larkspan {
namespace {

constexpr int kCaptureTabIndex = 0;

}  // namespace

BrowserTabs::BrowserTabs(QWidget* captureSheet, QWidget* parsingInfo, QWidget* parent)
    : QObject(parent), PageControl(new QTabWidget(parent)), m_parsingInfo(parsingInfo) {
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->addTab(captureSheet, QStringLiteral("WebBrowser"));
    PageControl->setTabVisible(PageControl->addTab(parsingInfo, QStringLiteral("Parsing Info")),
                               false);
    PageControl->setCurrentIndex(kCaptureTabIndex);
    m_activePage = captureSheet;
    FPrevBrowser = browserOf(captureSheet);
    connect(PageControl, &QTabWidget::currentChanged, this, &BrowserTabs::handleCurrentChanged);
    PageControl->tabBar()->installEventFilter(this);

    PCPopup = new QMenu(PageControl);
    PCPopup->setObjectName(QStringLiteral("PCPopup"));
    CloseTab1 = PCPopup->addAction(QStringLiteral("Close Tab"));
    CloseTab1->setObjectName(QStringLiteral("CloseTab1"));
    DuplicateTab1 = PCPopup->addAction(QStringLiteral("Duplicate Tab"));
    DuplicateTab1->setObjectName(QStringLiteral("DuplicateTab1"));
    PCPopup->setDefaultAction(CloseTab1);
}

void BrowserTabs::setParsingInfoShown(bool shown) {
    PageControl->setTabVisible(parsingInfoIndex(), shown);
}

TWebbrowser* BrowserTabs::browserOf(QWidget* page) {
    return page == nullptr ? nullptr
                           : page->findChild<TWebbrowser*>(QString(), Qt::FindDirectChildrenOnly);
}

TWebbrowser* BrowserTabs::GetCurrentWB() const {
    if (TWebbrowser* browser = browserOf(PageControl->currentWidget())) {
        return browser;
    }
    return FPrevBrowser;
}

QWidget* BrowserTabs::CreateBrowserTab(const QString& url, const QString& caption) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("BrowserSheet"));
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new TWebbrowser(sheet);
    layout->addWidget(browser);
    browser->setSilent(true);
    // After the active tab, and always before "Parsing Info".
    const int position = std::min(PageControl->currentIndex() + 1, parsingInfoIndex());
    {
        const QScopedValueRollback fromCode(m_changingFromCode, true);
        PageControl->insertTab(position, sheet, caption);
    }
    activateFromCode(position);
    emit browserCreated(browser);
    browser->FNavForward = false;
    browser->FNavBack = false;

    const QPointer<QWidget> made(sheet);
    if (!url.trimmed().isEmpty()) {
        browser->Navigate(QUrl(url));
        WaitForComplete(browser);
    }
    return made;
}

void BrowserTabs::CloseTab1Click() {
    const int index = PageControl->currentIndex();
    QWidget* page = PageControl->currentWidget();
    if (index == kCaptureTabIndex || browserOf(page) == nullptr) {
        return;
    }
    activateFromCode(nextShownTab(index));
    {
        const QScopedValueRollback fromCode(m_changingFromCode, true);
        PageControl->removeTab(PageControl->indexOf(page));
    }
    FPrevBrowser = nullptr;
    // Later, since the browser may be reporting the event that led here, or be waited for.
    page->deleteLater();
}

void BrowserTabs::DuplicateTab1Click() {
    const QPointer<TWebbrowser> source = GetCurrentWB();
    if (!source) {
        return;
    }
    const int position = PageControl->currentIndex();
    const QPointer<QWidget> sheet = CreateBrowserTab(source->LocationURL(), kNewTabCaption);
    const QPointer<TWebbrowser> copy = browserOf(sheet);
    WaitForComplete(copy);
    // The user may have closed either tab meanwhile.
    if (!sheet || !copy || !source) {
        return;
    }
    // The copy also shows what scripts or the user changed in the source page.
    if (const auto copyDocument = copy->webDocument()) {
        const auto sourceDocument = source->Document();
        const auto sourceBody =
            sourceDocument && sourceDocument->isHtmlDocument() ? sourceDocument->body() : nullptr;
        if (!sourceBody) {
            throw dom::DomError("Invalid HTML document");
        }
        copyDocument->setBodyInnerHTML(sourceBody->innerHTML());
    }
    const int target = std::clamp(position + 1, 1, parsingInfoIndex() - 1);
    PageControl->tabBar()->moveTab(PageControl->indexOf(sheet), target);
    activateFromCode(PageControl->indexOf(sheet));
}

bool BrowserTabs::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PageControl->tabBar() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            return PageControlMouseDown(press->position().toPoint());
        }
    }
    return QObject::eventFilter(watched, event);
}

bool BrowserTabs::PageControlMouseDown(const QPoint& position) {
    const int index = PageControl->tabBar()->tabAt(position);
    if (index < 0) {
        return false;
    }
    activateFromCode(index);
    QWidget* page = PageControl->widget(index);
    CloseTab1->setEnabled(page != m_parsingInfo && index != kCaptureTabIndex);
    DuplicateTab1->setEnabled(browserOf(page) != nullptr);
    if (page != m_parsingInfo) {
        PCPopup->popup(QCursor::pos());
    }
    return true;
}

void BrowserTabs::handleCurrentChanged() {
    QWidget* arriving = PageControl->currentWidget();
    const QPointer<QWidget> leaving = m_activePage;
    m_activePage = arriving;
    if (!m_changingFromCode) {
        PageControlChanging(leaving);
        emit userSwitchedTab();
    }
}

void BrowserTabs::PageControlChanging(QWidget* leaving) {
    if (TWebbrowser* browser = browserOf(leaving)) {
        FPrevBrowser = browser;
    }
}

void BrowserTabs::activateFromCode(int index) {
    const QScopedValueRollback fromCode(m_changingFromCode, true);
    PageControl->setCurrentIndex(index);
}

int BrowserTabs::nextShownTab(int index) const {
    const int count = PageControl->count();
    for (int step = 1; step < count; ++step) {
        const int candidate = (index + step) % count;
        if (PageControl->isTabVisible(candidate) &&
            PageControl->widget(candidate) != m_parsingInfo) {
            return candidate;
        }
    }
    return kCaptureTabIndex;
}

int BrowserTabs::parsingInfoIndex() const {
    return PageControl->indexOf(m_parsingInfo);
}

}  // namespace larkspan
