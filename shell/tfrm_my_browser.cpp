#include "shell/tfrm_my_browser.h"

#include "browser/twebbrowser.h"
#include "inspect/display_options.h"
#include "inspect/element_inspector.h"
#include "inspect/event_log.h"
#include "inspect/inspection_views.h"
#include "inspect/page_message_hook.h"
#include "inspect/search_box.h"
#include "shell/application_events.h"
#include "shell/browser_tabs.h"
#include "shell/detection_bar.h"
#include "shell/detection_preview.h"
#include "shell/directory_search.h"
#include "shell/error_text.h"
#include "shell/main_menu.h"
#include "shell/main_status_bar.h"
#include "shell/results_pane.h"
#include "shell/results_table.h"
#include "shell/split_screen_setting.h"
#include "shell/start_page.h"
#include "shell/text_panel.h"
#include "shell/toolbar_images.h"
#include "shell/turning_page_loader.h"
#include "shell/user_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace larkspan {
namespace {

constexpr QSize kClientSize(884, 642);
constexpr int kSidePanelDesignWidth = 226;

QWidget* namedWidget(QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

void TfrmMyBrowser::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        m_dialogs.error(this, errorBoxText(QString::fromUtf8(error.what())));
    }
}

template <typename Sender, typename Signal>
void TfrmMyBrowser::connectHandler(Sender* sender, Signal signal,
                                   void (TfrmMyBrowser::*handler)()) {
    connect(sender, signal, this,
            [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
}

TfrmMyBrowser::TfrmMyBrowser(UserDialogs& dialogs, SplitScreenSetting& splitSetting,
                             RunJournal* journal, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_splitSetting(splitSetting), m_journal(journal) {
    setObjectName(QStringLiteral("TfrmMyBrowser"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setWindowIcon(toolbarImage(7));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tbarNav = buildNavigationBar();
    layout->addWidget(tbarNav);
    pnAddress = buildAddressBar();
    layout->addWidget(pnAddress);
    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(buildBrowserTabs());
    PageControl1 = buildSidePanel();
    Splitter1->addWidget(PageControl1);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    layout->addWidget(Splitter1, 1);
    setCentralWidget(central);

    StatusBar1 = new MainStatusBar(this);
    setStatusBar(StatusBar1);
    StatusBar1->setZoneSource([this]() -> std::optional<QUrl> {
        const TWebbrowser* browser = GetCurrentWB();
        return browser ? std::optional<QUrl>(QUrl(browser->LocationURL())) : std::nullopt;
    });
    m_menu = new MainMenu(menuBar(), pnAddress, tbarNav);
    connectMenus();

    m_turningLoader = std::make_unique<TurningPageLoader>(WebBrowser1);
    connectBrowser(WebBrowser1, true);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connectHandler(Timer1, &QTimer::timeout, &TfrmMyBrowser::Timer1Timer);
    Timer1->start(1000);
    m_pageHook = std::make_unique<PageMessageHook>([this] { return GetCurrentWB(); },
                                                   [this] { return m_options->noPopupMenu(); });
    m_applicationEvents =
        std::make_unique<ApplicationEvents>([this](QObject* receiver, QEvent* event) {
            return ApplicationEvents1Message(receiver, event);
        });

    resize(kClientSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    guarded([this] { FormCreate(); });
}

TfrmMyBrowser::~TfrmMyBrowser() = default;

void TfrmMyBrowser::FormCreate() {
    m_tabs->FPrevBrowser = WebBrowser1;
    WebBrowser1->FNavForward = false;
    WebBrowser1->FNavBack = false;
    WebBrowser1->FTitle.clear();
    WriteHTMLToBrowser(WebBrowser1, BuildStartPage());
    m_menu->Goto1->setToolTip(DirectorySearchURL());
    // A caption reads "&" as the mark of an access key; the address has one of its own.
    m_menu->Goto1->setText(QStringLiteral("Go to ") +
                           directorySearchURLWithoutScheme().replace(u'&', QStringLiteral("&&")));
    ToolbtnLarkspan->setText(QStringLiteral("AU-GL"));
    edURL->setText(DirectorySearchURL());
    setWindowTitle(kCaption);
    showInspectionTools(m_splitSetting.inspectionToolsShown());
    m_captureOptions.journalLimitMegabytes =
        m_splitSetting.journalLimit().value_or(kDefaultJournalLimitMegabytes);
    m_captureOptions.listingsFrom = ListingsFrom::fromSettingText(m_splitSetting.listingsFrom());
    m_captureOptions.captureList = m_splitSetting.capturesList();
    m_captureOptions.searchList = m_splitSetting.searchList();
    RestoreSplitter();
}

QToolButton* TfrmMyBrowser::addToolButton(QToolBar* bar, const char* name, int image,
                                          const QString& text, const QString& hint, bool shown) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(toolbarImage(image));
    button->setText(text);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(52, 37);
    button->setCursor(Qt::PointingHandCursor);
    bar->addWidget(button)->setVisible(shown);
    return button;
}

QToolBar* TfrmMyBrowser::buildNavigationBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbarNav"));
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);

    ToolbtnBack = addToolButton(bar, "ToolbtnBack", 4, QStringLiteral("Back"),
                                QStringLiteral("Navigate Back"));
    ToolBtnForward = addToolButton(bar, "ToolBtnForward", 3, QStringLiteral("Forward"),
                                   QStringLiteral("Navigate Forward"));
    ToolBtnStop = addToolButton(bar, "ToolBtnStop", 0, QStringLiteral(" Stop"),
                                QStringLiteral("Stop loading"));
    bar->addSeparator();
    ToolBtnRefresh = addToolButton(bar, "ToolBtnRefresh", 2, QStringLiteral("Refresh"),
                                   QStringLiteral("Refresh Active Tab"));
    ToolBtnHome = addToolButton(bar, "ToolBtnHome", 1, QStringLiteral("Home"), QString());
    bar->addSeparator();
    // Search and Favorites exist but are not shown.
    QToolButton* search = addToolButton(bar, "ToolBtnSearch", 5, QStringLiteral("Search"),
                                        QStringLiteral("Search..."), false);
    QToolButton* favorites = addToolButton(bar, "ToolBtnFavorites", 7, QStringLiteral("Favorites"),
                                           QStringLiteral("Show Favorites"), false);
    ToolbtnLarkspan = addToolButton(bar, "ToolbtnLarkspan", 7, QStringLiteral("AU-GL"), QString());
    bar->addSeparator();
    tbSplitScreen = addToolButton(bar, "tbSplitScreen", 9, QStringLiteral("50%"),
                                  QStringLiteral("Split in two"));
    tbSplitScreen->setCheckable(true);

    for (QToolButton* button : {ToolbtnBack, ToolBtnForward, ToolBtnStop}) {
        button->setEnabled(false);
    }
    connectHandler(ToolbtnBack, &QToolButton::clicked, &TfrmMyBrowser::ToolbtnBackClick);
    connectHandler(ToolBtnForward, &QToolButton::clicked, &TfrmMyBrowser::ToolBtnForwardClick);
    connectHandler(ToolBtnStop, &QToolButton::clicked, &TfrmMyBrowser::ToolBtnStopClick);
    connectHandler(ToolBtnRefresh, &QToolButton::clicked, &TfrmMyBrowser::ToolBtnRefreshClick);
    connectHandler(ToolBtnHome, &QToolButton::clicked, &TfrmMyBrowser::ToolBtnHomeClick);
    connectHandler(search, &QToolButton::clicked, &TfrmMyBrowser::ToolBtnSearchClick);
    connectHandler(ToolbtnLarkspan, &QToolButton::clicked, &TfrmMyBrowser::ToolbtnLarkspanClick);
    connectHandler(tbSplitScreen, &QToolButton::clicked, &TfrmMyBrowser::tbSplitScreenClick);
    connect(favorites, &QToolButton::clicked, this,
            [this] { m_dialogs.information(this, QStringLiteral("not yet implemented")); });
    return bar;
}

QWidget* TfrmMyBrowser::buildAddressBar() {
    auto* panel = namedWidget(new QWidget(this), "pnAddress");
    panel->setFixedHeight(38);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* label = new QLabel(QStringLiteral("URL:"), panel);
    label->setObjectName(QStringLiteral("Label1"));
    edURL = new QLineEdit(panel);
    edURL->setObjectName(QStringLiteral("edURL"));
    edURL->installEventFilter(this);
    btnGo = new QToolButton(panel);
    btnGo->setObjectName(QStringLiteral("btnGo"));
    btnGo->setText(QStringLiteral("GO"));
    btnGo->setToolTip(QStringLiteral("Navigate to a Webpage"));
    btnGo->setAutoRaise(true);
    layout->addWidget(label);
    layout->addWidget(edURL, 1);
    layout->addWidget(btnGo);
    buildSearchBox(panel);

    connectHandler(edURL, &QLineEdit::returnPressed, &TfrmMyBrowser::btnGoClick);
    connectHandler(btnGo, &QToolButton::clicked, &TfrmMyBrowser::btnGoClick);
    return panel;
}

void TfrmMyBrowser::buildSearchBox(QWidget* panel) {
    // Not shown; it works when it is.
    Label8 = new QLabel(QStringLiteral("Search:"), panel);
    Label8->setObjectName(QStringLiteral("Label8"));
    edSearch = new QLineEdit(panel);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    btnSearch = new QToolButton(panel);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setIcon(toolbarImage(5));
    btnSearch->setToolTip(QStringLiteral("Search Google"));
    btnSearch->setAutoRaise(true);
    for (QWidget* part : std::initializer_list<QWidget*>{Label8, edSearch, btnSearch}) {
        panel->layout()->addWidget(part);
        part->hide();
    }
    connectHandler(edSearch, &QLineEdit::returnPressed, &TfrmMyBrowser::btnSearchClick);
    connectHandler(btnSearch, &QToolButton::clicked, &TfrmMyBrowser::btnSearchClick);
}

QWidget* TfrmMyBrowser::buildBrowserTabs() {
    auto* panel = namedWidget(new QWidget(this), "Panel8");
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The thin strip left of the tabs with the two scroll buttons.
    auto* strip = namedWidget(new QWidget(panel), "Panel6");
    strip->setFixedWidth(17);
    auto* stripLayout = new QVBoxLayout(strip);
    stripLayout->setContentsMargins(0, 24, 0, 2);
    auto* scrollTop = new QToolButton(strip);
    scrollTop->setObjectName(QStringLiteral("SpeedButtonScrollTop"));
    scrollTop->setArrowType(Qt::UpArrow);
    scrollTop->setToolTip(QStringLiteral("Scroll To Top"));
    scrollTop->setAutoRaise(true);
    auto* scrollBottom = new QToolButton(strip);
    scrollBottom->setObjectName(QStringLiteral("SpeedButtonScrollBottom"));
    scrollBottom->setArrowType(Qt::DownArrow);
    scrollBottom->setToolTip(QStringLiteral("Scroll To Bottom"));
    scrollBottom->setAutoRaise(true);
    stripLayout->addWidget(scrollTop);
    stripLayout->addStretch(1);
    stripLayout->addWidget(scrollBottom);
    connectHandler(scrollTop, &QToolButton::clicked, &TfrmMyBrowser::SpeedButtonScrollTopClick);
    connectHandler(scrollBottom, &QToolButton::clicked,
                   &TfrmMyBrowser::SpeedButtonScrollBottomClick);

    TabSheet1 = buildCaptureTab();
    m_tabs = new BrowserTabs(TabSheet1, buildParsingInfo(), panel);
    connect(m_tabs, &BrowserTabs::browserCreated, this,
            [this](TWebbrowser* browser) { connectBrowser(browser, false); });
    connectHandler(m_tabs, &BrowserTabs::userSwitchedTab, &TfrmMyBrowser::PageControlChange);
    connectHandler(m_tabs->CloseTab1, &QAction::triggered, &TfrmMyBrowser::CloseTab1Click);
    connectHandler(m_tabs->DuplicateTab1, &QAction::triggered, &TfrmMyBrowser::DuplicateTab1Click);
    // The zone and the navigation buttons shown are the active tab's, however it became active.
    connect(m_tabs->pageControl(), &QTabWidget::currentChanged, this, [this] {
        StatusBar1->update();
        showNavigationState();
    });

    layout->addWidget(strip);
    layout->addWidget(m_tabs->pageControl(), 1);
    return panel;
}

QWidget* TfrmMyBrowser::buildCaptureTab() {
    auto* sheet = namedWidget(new QWidget(this), "TabSheet1");
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* toolbar = new QToolBar(sheet);
    toolbar->setObjectName(QStringLiteral("ToolBar3"));
    toolbar->setFixedHeight(29);
    toolbar->setIconSize(QSize(16, 16));
    auto* quick = new QToolButton(toolbar);
    quick->setObjectName(QStringLiteral("Quick"));
    quick->setText(QStringLiteral("Quick"));
    quick->setIcon(toolbarImage(10));
    quick->setCheckable(true);
    toolbar->addWidget(quick)->setVisible(false);
    btnCapture = new QToolButton(toolbar);
    btnCapture->setObjectName(QStringLiteral("btnCapture"));
    btnCapture->setText(QStringLiteral("Capture"));
    btnCapture->setIcon(toolbarImage(8));
    btnCapture->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addWidget(btnCapture);
    connectHandler(btnCapture, &QToolButton::clicked, &TfrmMyBrowser::btnCaptureClick);

    WebBrowser1 = new TWebbrowser(sheet);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    // The browser comes first in the tab, so the tab is known by it.
    layout->addWidget(WebBrowser1, 1);
    layout->insertWidget(0, toolbar);
    return sheet;
}

QWidget* TfrmMyBrowser::buildParsingInfo() {
    mmParser = new TextPanel(this);
    mmParser->setObjectName(QStringLiteral("mmParser"));
    m_views = new InspectionViews(mmParser, toolbarImage, this);
    connectHandler(m_views, &InspectionViews::viewChosen, &TfrmMyBrowser::PageControlInfosChange);
    return m_views;
}

QTabWidget* TfrmMyBrowser::buildSidePanel() {
    auto* panel = new QTabWidget(this);
    panel->setObjectName(QStringLiteral("PageControl1"));
    m_inspectionPages = {buildExtrasPage(), buildDesignPage(), buildOptionsPage()};
    for (QWidget* hidden : m_inspectionPages) {
        // The tools fit any width the user gives the panel.
        hidden->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        panel->setTabVisible(panel->addTab(hidden, hidden->objectName()), false);
    }

    tbResults = namedWidget(new QWidget(panel), "tbResults");
    auto* layout = new QVBoxLayout(tbResults);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* toolbar = new QToolBar(tbResults);
    toolbar->setObjectName(QStringLiteral("ToolBarResults"));
    auto* save = new QToolButton(toolbar);
    save->setObjectName(QStringLiteral("ToolButton2"));
    save->setText(QStringLiteral("Save"));
    save->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->addWidget(save);
    connectHandler(save, &QToolButton::clicked, &TfrmMyBrowser::ToolButton2Click);
    auto* options = new QToolButton(toolbar);
    options->setObjectName(QStringLiteral("btnCaptureOptions"));
    options->setText(QStringLiteral("Options..."));
    options->setToolTip(QStringLiteral("Dropping repeated listings, pauses between pages"));
    options->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->addWidget(options);
    connectHandler(options, &QToolButton::clicked, &TfrmMyBrowser::CaptureOptionsClick);
    auto* detect = new QToolButton(toolbar);
    detect->setObjectName(QStringLiteral("btnDetectListings"));
    detect->setText(QStringLiteral("Detect listings"));
    detect->setToolTip(QStringLiteral("Find the repeated listings of the page and what they hold"));
    detect->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->addWidget(detect);
    connectHandler(detect, &QToolButton::clicked, &TfrmMyBrowser::DetectListingsClick);
    mmResults = new ResultsPane(tbResults);
    layout->addWidget(toolbar);
    layout->addWidget(mmResults, 1);
    panel->addTab(tbResults, QStringLiteral("Results"));

    // The same lines as a table.
    m_resultsTable = new ResultsTable(panel);
    connect(mmResults, &ResultsPane::linesAppended, m_resultsTable, &ResultsTable::appendLines);
    connect(mmResults, &ResultsPane::linesCleared, m_resultsTable, &ResultsTable::clear);
    connect(m_resultsTable, &ResultsTable::linkActivated, this, [this](const QUrl& url) {
        guarded([this, &url] {
            m_tabs->CreateBrowserTab(url.toString(), BrowserTabs::kNewTabCaption);
        });
    });
    m_detectionBar = new DetectionBar;
    m_detectionBar->hide();
    m_resultsTable->setBanner(m_detectionBar);
    connect(m_detectionBar, &DetectionBar::groupChosen, this,
            [this](int index) { guarded([this, index] { chooseDetectedGroup(index); }); });
    connectHandler(m_detectionBar, &DetectionBar::saveRequested,
                   &TfrmMyBrowser::saveDetectedProfile);
    connectHandler(m_detectionBar, &DetectionBar::closeRequested, &TfrmMyBrowser::endDetection);
    connect(m_resultsTable->view()->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { guarded([this, column] { offerFieldPick(column); }); });
    m_pickPoll.setInterval(200);
    connectHandler(&m_pickPoll, &QTimer::timeout, &TfrmMyBrowser::takePickedField);
    panel->addTab(m_resultsTable, QStringLiteral("Table"));
    panel->setCurrentWidget(tbResults);
    return panel;
}

QWidget* TfrmMyBrowser::buildExtrasPage() {
    auto* page = namedWidget(new QWidget(this), "Extras");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 0);
    m_search = new SearchBox(page);
    connectHandler(m_search, &SearchBox::searchRequested,
                   &TfrmMyBrowser::btnSearchAndHighlightClick);
    m_inspector = new ElementInspector(page);
    auto* logBar = new QLabel(QStringLiteral("Event log"), page);
    logBar->setFrameShape(QFrame::StyledPanel);
    lvEventLog = new EventLog(page);
    layout->addWidget(m_search);
    layout->addWidget(m_inspector);
    layout->addWidget(logBar);
    layout->addWidget(lvEventLog, 1);
    return page;
}

QWidget* TfrmMyBrowser::buildDesignPage() {
    auto* page = namedWidget(new QWidget(this), "Design");
    auto* group = new QGroupBox(QStringLiteral("Design Options"), page);
    auto* liveResize = new QCheckBox(QStringLiteral("Live Resize"), group);
    liveResize->setObjectName(QStringLiteral("chkLiveResize"));
    liveResize->setToolTip(QStringLiteral(
        "Causes the MSHTML Editor to update an element's appearance continuously during a "
        "resizing or moving operation, rather than updating only at the completion of the move "
        "or resize."));
    auto* multipleSelection = new QCheckBox(QStringLiteral("Multiple Selection"), group);
    multipleSelection->setObjectName(QStringLiteral("chkMultipleSelection"));
    multipleSelection->setToolTip(
        QStringLiteral("Allows for the selection of more than one site selectable element at a "
                       "time when the user holds down the SHIFT or CTRL keys"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(liveResize);
    groupLayout->addWidget(multipleSelection);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmMyBrowser::buildOptionsPage() {
    auto* page = namedWidget(new QWidget(this), "Options");
    m_options = new DisplayOptions(page);
    connect(m_options, &DisplayOptions::borderClicked, this, [this](bool bordered) {
        guarded([this, bordered] { chk3DBorderStyleClick(bordered); });
    });
    connect(m_options, &DisplayOptions::scrollBarsClicked, this,
            [this](bool hidden) { guarded([this, hidden] { chkNoScrollBarsClick(hidden); }); });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_options);
    layout->addStretch(1);
    return page;
}

void TfrmMyBrowser::connectMenus() {
    const std::pair<QMenu*, void (TfrmMyBrowser::*)()> openings[] = {
        {m_menu->File1, &TfrmMyBrowser::File1Click},
        {m_menu->Edit2, &TfrmMyBrowser::Edit2Click},
        {m_menu->View1, &TfrmMyBrowser::View1Click},
        {m_menu->Extras1, &TfrmMyBrowser::Extras1Click},
        {m_menu->Zoom1, &TfrmMyBrowser::Zoom1Click},
    };
    for (const auto& [menu, handler] : openings) {
        connectHandler(menu, &QMenu::aboutToShow, handler);
    }
    const std::pair<QAction*, void (TfrmMyBrowser::*)()> items[] = {
        {m_menu->LarkspanStartPage1, &TfrmMyBrowser::LarkspanStartPage1Click},
        {m_menu->Goto1, &TfrmMyBrowser::Goto1Click},
        {m_menu->Open1, &TfrmMyBrowser::Open1Click},
        {m_menu->SaveAs1, &TfrmMyBrowser::SaveAs1Click},
        {m_menu->Print1, &TfrmMyBrowser::Print1Click},
        {m_menu->PrintPreview1, &TfrmMyBrowser::PrintPreview1Click},
        {m_menu->PageSetup1, &TfrmMyBrowser::PageSetup1Click},
        {m_menu->Properties1, &TfrmMyBrowser::Properties1Click},
        {m_menu->OfflineMode1, &TfrmMyBrowser::OfflineMode1Click},
        {m_menu->Exit1, &TfrmMyBrowser::Exit1Click},
        {m_menu->Cut1, &TfrmMyBrowser::Cut1Click},
        {m_menu->Copy1, &TfrmMyBrowser::Copy1Click},
        {m_menu->Paste1, &TfrmMyBrowser::Paste1Click},
        {m_menu->SelectAll1, &TfrmMyBrowser::SelectAll1Click},
        {m_menu->Search1, &TfrmMyBrowser::Search1Click},
        {m_menu->ViewSource1, &TfrmMyBrowser::ViewSource1Click},
        {m_menu->Addressbar1, &TfrmMyBrowser::Addressbar1Click},
        {m_menu->NavigationBar1, &TfrmMyBrowser::NavigationBar1Click},
        {m_menu->Cookie1, &TfrmMyBrowser::Cookie1Click},
        {m_menu->InternetOptions1, &TfrmMyBrowser::InternetOptions1Click},
        {m_menu->AddHTML1, &TfrmMyBrowser::AddHTML1Click},
        {m_menu->DesignMode1, &TfrmMyBrowser::DesignMode1Click},
        {m_menu->InspectionTools1, &TfrmMyBrowser::InspectionTools1Click},
    };
    for (const auto& [item, handler] : items) {
        connectHandler(item, &QAction::triggered, handler);
    }
    for (QAction* item : m_menu->encodingItems) {
        connect(item, &QAction::triggered, this,
                [this, item] { guarded([this, item] { urkishWindows1Click(item); }); });
    }
    for (QAction* item : m_menu->textSizeItems) {
        connect(item, &QAction::triggered, this,
                [this, item] { guarded([this, item] { Smallest1Click(item); }); });
    }
}

QPrinter& TfrmMyBrowser::printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

void TfrmMyBrowser::setSidePanelWidth(int panelWidth) {
    const int total = Splitter1->width();
    Splitter1->setSizes({std::max(0, total - panelWidth), panelWidth});
}

// --- Window events -------------------------------------------------------------------------

void TfrmMyBrowser::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        setSidePanelWidth(kSidePanelDesignWidth);
        FormResize();
        // Once the window is up, so the question has the window behind it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                guarded([this] {
                    keepJournalUnderLimit();
                    offerResume();
                });
            },
            Qt::QueuedConnection);
    }
}

void TfrmMyBrowser::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmMyBrowser::closeEvent(QCloseEvent* event) {
    // A run under way ends with the program; it can be resumed at the next start.
    m_closing = true;
    SaveSplitter();
    QMainWindow::closeEvent(event);
}

bool TfrmMyBrowser::eventFilter(QObject* watched, QEvent* event) {
    // A double click in the address bar selects the whole address.
    if (watched == edURL && event->type() == QEvent::MouseButtonDblClick) {
        edURL->selectAll();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMyBrowser::FormResize() {
    StatusBar1->layoutPanels();
    if (tbSplitScreen->isChecked()) {
        setSidePanelWidth(frameGeometry().width() / 2);
    }
}

// --- Split toggle ---------------------------------------------------------------------------

void TfrmMyBrowser::tbSplitScreenClick() {
    const int windowWidth = frameGeometry().width();
    if (tbSplitScreen->isChecked()) {
        setSidePanelWidth(windowWidth / 4);
        tbSplitScreen->setText(QStringLiteral("75%"));
    } else {
        setSidePanelWidth(windowWidth / 2);
        tbSplitScreen->setText(QStringLiteral("50%"));
    }
}

void TfrmMyBrowser::RestoreSplitter() {
    // Setting the state neither runs the click handler nor changes the caption.
    if (const std::optional<bool> pressed = m_splitSetting.read()) {
        tbSplitScreen->setChecked(*pressed);
    }
}

void TfrmMyBrowser::SaveSplitter() {
    m_splitSetting.write(tbSplitScreen->isChecked());
}

// --- Browsers -------------------------------------------------------------------------------

TWebbrowser* TfrmMyBrowser::GetCurrentWB() const {
    return m_tabs->GetCurrentWB();
}

void TfrmMyBrowser::connectBrowser(TWebbrowser* browser, bool captureTab) {
    connect(browser, &TWebbrowser::StatusTextChange, this,
            &TfrmMyBrowser::WebBrowser1StatusTextChange);
    connect(browser, &TWebbrowser::ProgressChange, this, &TfrmMyBrowser::WebBrowser1ProgressChange);
    connect(browser, &TWebbrowser::TitleChange, this,
            [this, browser](const QString& text) { WebBrowser1TitleChange(browser, text); });
    connect(browser, &TWebbrowser::CommandStateChange, this,
            [this, browser](int command, bool enable) {
                WebBrowser1CommandStateChange(browser, command, enable);
            });
    connectHandler(browser, &TWebbrowser::DownloadComplete,
                   &TfrmMyBrowser::WebBrowser1DownloadComplete);
    connect(browser, &TWebbrowser::DownloadBegin, this,
            [this, browser] { WebBrowser1DownloadBegin(browser); });
    // Answered on the spot: the request is gone once the signal returns.
    connect(browser, &TWebbrowser::NewWindow2, this,
            [this, browser](QPointer<TWebbrowser>& ppDisp, bool& Cancel) {
                guarded([&] { WebBrowser1NewWindow2(browser, ppDisp, Cancel); });
            });
    if (captureTab) {
        connect(browser, &TWebbrowser::BeforeNavigate2, this,
                &TfrmMyBrowser::WebBrowser1BeforeNavigate2);
        connect(browser, &TWebbrowser::NavigateComplete2, this,
                [this, browser] { WebBrowser1NavigateComplete2(browser); });
    }
}

void TfrmMyBrowser::WebBrowser1ProgressChange(int progress, int progressMax) {
    StatusBar1->showProgress(progress, progressMax);
}

void TfrmMyBrowser::WebBrowser1StatusTextChange(const QString& text) {
    if (GetCurrentWB() != nullptr) {
        StatusBar1->showStatusText(text);
    }
}

void TfrmMyBrowser::WebBrowser1TitleChange(TWebbrowser* sender, const QString& text) {
    const QString caption = QStringLiteral("Larkspan - ") + text;
    setWindowTitle(caption);
    sender->FTitle = caption;
}

void TfrmMyBrowser::WebBrowser1CommandStateChange(TWebbrowser* sender, int command, bool enable) {
    if (command == TWebbrowser::CommandForward) {
        sender->FNavForward = enable;
    } else if (command == TWebbrowser::CommandBack) {
        sender->FNavBack = enable;
    }
    // A tab in the background keeps its state until it is shown: the buttons act on the active
    // tab only.
    showNavigationState();
}

void TfrmMyBrowser::WebBrowser1BeforeNavigate2() {
    ToolBtnStop->setEnabled(true);
}

void TfrmMyBrowser::WebBrowser1NavigateComplete2(TWebbrowser* sender) {
    const QString location = sender->LocationURL();
    if (location != QStringLiteral("about:blank")) {
        edURL->setText(location);
    }
}

void TfrmMyBrowser::WebBrowser1DownloadComplete() {
    // To the page on screen, whichever browser reported. A page replaced meanwhile gets the
    // options at its own download complete.
    try {
        m_options->applyAfterDownload(GetCurrentWB());
    } catch (const dom::DomError&) {
    }
    // Painting works the zone out again.
    StatusBar1->update();
    ToolBtnStop->setEnabled(false);
}

}  // namespace larkspan
