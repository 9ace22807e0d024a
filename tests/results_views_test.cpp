// The window's additions around the Results pane: the table of the same lines, the file types
// of Save, the capture options, and the offer to resume a run that did not end.

#include "browser/twebbrowser.h"
#include "capture/result_fields.h"
#include "journal/run_journal.h"
#include "shell/main_status_bar.h"
#include "shell/results_pane.h"
#include "shell/results_table.h"
#include "tests/support/featured_sample_site.h"
#include "tests/support/test_http_server.h"
#include "tests/support/workbook_reader.h"
#include "window_test_suites.h"
#include "window_under_test.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace larkspan {
namespace {

using test::fileBytes;
using test::WindowUnderTest;
using test::workbookRows;

const QString kSampleFolder = QStringLiteral(LARKSPAN_TEST_DATA "/../../samples/directory");

QStringList expectedLines() {
    QFile file(QStringLiteral(LARKSPAN_TEST_DATA "/sample_directory_expected.csv"));
    return file.open(QIODevice::ReadOnly)
               ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
               : QStringList{QStringLiteral("<unreadable>")};
}

QString scraped(int count) {
    return QStringLiteral("A total of %1 addresses have been scraped!").arg(count);
}

QToolButton* captureButton(const WindowUnderTest& under) {
    return under.child<QToolButton>("btnCapture");
}
ResultsPane* results(const WindowUnderTest& under) {
    return under.child<ResultsPane>("mmResults");
}
ResultsTable* table(const WindowUnderTest& under) {
    return under.child<ResultsTable>("tbTable");
}
TWebbrowser* captureBrowser(const WindowUnderTest& under) {
    return under.child<TWebbrowser>("WebBrowser1");
}

// The column of the table as the view shows it, top to bottom.
QStringList shownColumn(const WindowUnderTest& under, int column) {
    const QAbstractItemModel* model = table(under)->view()->model();
    QStringList values;
    for (int row = 0; row < model->rowCount(); ++row) {
        values.append(model->index(row, column).data().toString());
    }
    return values;
}

}  // namespace

class ResultsViewsTest : public QObject {
    Q_OBJECT

public:
    ResultsViewsTest() : m_server(kSampleFolder) {}

private slots:
    void initTestCase();
    void tableShowsTheLinesAsTheyAreCaptured();
    void saveWritesTheChosenFileType_data();
    void saveWritesTheChosenFileType();
    void repeatedListingsAreDroppedWhenChosen();
    void runThatDidNotEndIsOfferedAtStartUp_data();
    void runThatDidNotEndIsOfferedAtStartUp();
    void journalIsKeptUnderTheSizeSetInOptions_data();
    void journalIsKeptUnderTheSizeSetInOptions();

private:
    bool load(WindowUnderTest& under, const QUrl& url) {
        captureBrowser(under)->Navigate(url);
        return captureBrowser(under)->waitUntilComplete() &&
               captureBrowser(under)->lastLoadSucceeded();
    }

    test::TestHttpServer m_server;
};

void ResultsViewsTest::initTestCase() {
    QVERIFY(m_server.listen());
}

void ResultsViewsTest::tableShowsTheLinesAsTheyAreCaptured() {
    WindowUnderTest under;
    auto* rowCount = table(under)->findChild<QLabel*>(QStringLiteral("lblTableRows"));
    QCOMPARE(rowCount->text(), QStringLiteral("0 rows"));
    QVERIFY(load(under, m_server.url(QStringLiteral("/page1.html"))));
    captureButton(under)->click();
    QCOMPARE(under.dialogs.messages, QStringList{scraped(60)});
    QCOMPARE(rowCount->text(), QStringLiteral("60 rows"));
    QStringList header;
    for (int column = 0; column < kResultColumnCount; ++column) {
        header.append(table(under)->view()->model()->headerData(column, Qt::Horizontal).toString());
    }
    QCOMPARE(header, (QStringList{"Name", "Phone", "E-mail", "Street", "Postcode", "City", "State",
                                  "Heading", "Description", "Website", "Longitude", "Latitude",
                                  "Map link", "Listing page"}));
    // In the order captured, field for field.
    for (int column : {0, 4, 13}) {
        QStringList captured;
        for (const QString& line : expectedLines()) {
            captured.append(resultFields(line)[column]);
        }
        QCOMPARE(shownColumn(under, column), captured);
    }

    // Sorted by a column, then filtered: a row stays when any field holds the text.
    table(under)->view()->horizontalHeader()->setSortIndicator(4, Qt::AscendingOrder);
    const QStringList postcodes = shownColumn(under, 4);
    for (qsizetype row = 1; row < postcodes.size(); ++row) {
        QVERIFY(postcodes[row - 1].compare(postcodes[row], Qt::CaseInsensitive) <= 0);
    }
    table(under)->filterBox()->setText(QStringLiteral("tas"));
    QTRY_COMPARE(rowCount->text(), QStringLiteral("6 of 60 rows"));
    // "Tasman Tce", "Tastings", four Tasmanian listings.
    QCOMPARE(
        shownColumn(under, 0),
        (QStringList{"Boston Bay Oyster Bar", "Cape Vines Cellar Door", "Derwent Bike Hire",
                     "Salamanca Woodcraft", "Launceston Glass & Glazing", "Mersey Bluff Cafe"}));
    table(under)->filterBox()->clear();
    QTRY_COMPARE(rowCount->text(), QStringLiteral("60 rows"));

    // A link opens in a new tab.
    QStringList fields(kResultColumnCount);
    fields[0] = QStringLiteral("Linked");
    fields[13] = m_server.url(QStringLiteral("/page2.html")).toString();
    results(under)->appendLines({resultLineOf(fields)});
    QCOMPARE(rowCount->text(), QStringLiteral("61 rows"));
    table(under)->filterBox()->setText(QStringLiteral("Linked"));
    QTRY_COMPARE(rowCount->text(), QStringLiteral("1 of 61 rows"));
    const QModelIndex link = table(under)->view()->model()->index(0, 13);
    QTest::mouseClick(table(under)->view()->viewport(), Qt::LeftButton, {},
                      table(under)->view()->visualRect(link).center());
    QTRY_COMPARE(test::tabCaptions(under).size(), 3);
    QCOMPARE(test::browserAt(under, 1)->LocationURL(), fields[13]);

    // A new run starts with an empty table.
    QVERIFY(load(under, m_server.url(QStringLiteral("/page3.html"))));
    table(under)->filterBox()->clear();
    captureButton(under)->click();
    QTRY_COMPARE(rowCount->text(), QStringLiteral("19 rows"));
}

void ResultsViewsTest::saveWritesTheChosenFileType_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("kind");
    const QString csv = QStringLiteral("CSV database or excel text file (*.csv)");
    QTest::newRow("CSV") << csv << "plain"
                         << "plain.csv"
                         << "as captured";
    QTest::newRow("text") << "Text file (*.txt)"
                          << "notes.txt"
                          << "notes.txt"
                          << "as captured";
    QTest::newRow("workbook") << "Excel workbook (*.xlsx)"
                              << "leads"
                              << "leads.xlsx"
                              << "workbook";
    QTest::newRow("workbook, the name offered first") << "Excel workbook (*.xlsx)"
                                                      << "larkspan1.csv"
                                                      << "larkspan1.xlsx"
                                                      << "workbook";
    QTest::newRow("workbook by its name") << csv << "named.xlsx"
                                          << "named.xlsx"
                                          << "workbook";
    QTest::newRow("CSV with formulas guarded") << "CSV with formulas guarded (*.csv)"
                                               << "safe"
                                               << "safe.csv"
                                               << "guarded";
}

void ResultsViewsTest::saveWritesTheChosenFileType() {
    QFETCH(QString, type);
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(QString, kind);
    WindowUnderTest under;
    QStringList formula(kResultColumnCount);
    formula[0] = QStringLiteral("=HYPERLINK(\"http://evil.example\")");
    formula[4] = QStringLiteral("0800");
    formula[8] = QString(33'000, u'd');  // longer than a workbook cell holds
    const QStringList lines = expectedLines().mid(0, 2) + QStringList{resultLineOf(formula)};
    results(under)->clearLines();
    results(under)->appendLines(lines);

    under.dialogs.answers = {under.dir.filePath(name)};
    under.dialogs.chosenFilters = {type};
    under.child<QToolButton>("ToolButton2")->click();
    QCOMPARE(under.dialogs.requests.constLast().filter,
             QStringLiteral("CSV database or excel text file (*.csv);;Text file (*.txt);;"
                            "Excel workbook (*.xlsx);;CSV with formulas guarded (*.csv)"));
    QCOMPARE(under.dialogs.messages, QStringList());
    const QString path = under.dir.filePath(written);
    QByteArray csv("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        csv += line.toUtf8() + "\r\n";
    }
    const QString status =
        under.child<MainStatusBar>("StatusBar1")->panelText(MainStatusBar::Panel::StatusText);
    QCOMPARE(status, kind == QLatin1String("workbook")
                         ? QStringLiteral("1 cell was cut to the 32,767 characters a workbook "
                                          "cell holds")
                         : QString());
    if (kind == QLatin1String("as captured")) {
        QCOMPARE(fileBytes(path), csv);
    } else if (kind == QLatin1String("guarded")) {
        QCOMPARE(fileBytes(path), csv.replace("\"=HYPERLINK", "\"'=HYPERLINK"));
    } else {
        QList<QStringList> rows = workbookRows(path);
        QCOMPARE(rows.size(), 4);
        formula[8] = QString(32'766, u'd') + u'\u2026';
        QCOMPARE(rows[1], resultFields(lines[0]));
        QCOMPARE(rows[2], resultFields(lines[1]));
        QCOMPARE(rows[3], formula);
    }
}

void ResultsViewsTest::repeatedListingsAreDroppedWhenChosen() {
    WindowUnderTest under;
    const QString site = under.dir.filePath(QStringLiteral("featured"));
    QVERIFY(test::writeFeaturedSampleSite(site));
    CaptureOptions options;
    options.dropRepeatedListings = true;
    under.window.setCaptureOptions(options);
    QVERIFY(load(under, QUrl::fromLocalFile(site + QStringLiteral("/page1.html"))));
    captureButton(under)->click();
    QCOMPARE(under.dialogs.messages,
             QStringList{scraped(60) + QStringLiteral("\n2 repeated listings were dropped.")});
    QCOMPARE(results(under)->lines(), expectedLines());

    // The run is in the journal, as the window captured it.
    const JournalRun run = under.journal.recentRuns(1).constFirst();
    QCOMPARE(run.kind, JournalRun::Kind::Window);
    QCOMPARE(run.ending, JournalRun::Ending::LastPage);
    QCOMPARE(run.pages, 3);
    QCOMPARE(run.lines, 60);
    QCOMPARE(run.dropped, 2);
}

void ResultsViewsTest::runThatDidNotEndIsOfferedAtStartUp_data() {
    QTest::addColumn<bool>("killed");  // else cut short by a failure
    QTest::addColumn<bool>("resume");
    QTest::addColumn<QString>("state");
    QTest::newRow("killed, resumed") << true << true << "did not end";
    QTest::newRow("killed, declined") << true << false << "did not end";
    QTest::newRow("cut short, resumed")
        << false << true << "was cut short (the page's renderer ended)";
}

// As a window that was killed after page 1, or whose run a failure ended there, leaves its
// journal.
void ResultsViewsTest::runThatDidNotEndIsOfferedAtStartUp() {
    QFETCH(bool, killed);
    QFETCH(bool, resume);
    QFETCH(QString, state);
    QTemporaryDir dir;
    const QString journalPath = dir.filePath(QStringLiteral("journal.sqlite"));
    const QString source = m_server.url(QStringLiteral("/page1.html")).toString();
    qint64 id = 0;
    {
        RunJournal journal(journalPath);
        id = journal.startRun(JournalRun::Kind::Window, source, {});
        journal.recordPage(id,
                           {1, source, QDateTime::currentDateTimeUtc(), expectedLines().mid(0, 21),
                            QByteArray("page one")},
                           0);
        if (!killed) {
            journal.endRun(id, JournalRun::Ending::Failed,
                           QStringLiteral("the page's renderer ended"));
        }
    }
    if (killed) {
        // A killed process leaves its run's lock file behind, held by nobody.
        QFile lock(dir.filePath(QStringLiteral("run-%1.lock").arg(id)));
        QVERIFY(lock.open(QIODevice::WriteOnly));
    }

    WindowUnderTest under({}, journalPath);
    under.dialogs.questionAnswers = {resume};
    QTRY_COMPARE(under.dialogs.questions.size(), 1);
    QVERIFY2(under.dialogs.questions[0].endsWith(
                 QStringLiteral(" %1: 1 page and 21 lines from %2.\n\nResume it? Its lines "
                                "come back to the Results pane, and the capture goes on from page "
                                "2.")
                     .arg(state, source)),
             qPrintable(under.dialogs.questions[0]));
    if (resume) {
        QTRY_COMPARE(under.dialogs.messages, QStringList{scraped(60)});
        QCOMPARE(results(under)->lines(), expectedLines());
        QCOMPARE(captureButton(under)->text(), QStringLiteral("Capture"));
        QCOMPARE(under.journal.run(id)->ending, JournalRun::Ending::LastPage);
    } else {
        QTRY_COMPARE(under.journal.run(id)->ending, JournalRun::Ending::NotResumed);
        QCOMPARE(results(under)->lines(), QStringList{ResultsPane::kInitialLine});
    }
    // Offered once only.
    WindowUnderTest again({}, journalPath);
    QTest::qWait(100);
    QCOMPARE(again.dialogs.questions, QStringList());
}

void ResultsViewsTest::journalIsKeptUnderTheSizeSetInOptions_data() {
    QTest::addColumn<bool>("inOptions");
    QTest::newRow("set in the options") << true;
    QTest::newRow("set at an earlier start") << false;
}

// Four runs of about 0.4 MB each, the second one not ended; kept under 1 MB, the oldest two
// that ended go.
void ResultsViewsTest::journalIsKeptUnderTheSizeSetInOptions() {
    QFETCH(bool, inOptions);
    QTemporaryDir dir;
    const QString journalPath = dir.filePath(QStringLiteral("journal.sqlite"));
    const QStringList lines(40, QString(10'000, u'x'));
    {
        RunJournal journal(journalPath);
        for (const JournalRun::Ending ending :
             {JournalRun::Ending::LastPage, JournalRun::Ending::NotResumed,
              JournalRun::Ending::PageLimit, JournalRun::Ending::LastPage}) {
            const qint64 id = journal.startRun(JournalRun::Kind::Window, QStringLiteral("x"), {});
            journal.recordPage(id, {1, QStringLiteral("x"), QDateTime::currentDateTimeUtc(), lines, "d"},
                               0);
            journal.endRun(id, ending);
        }
    }
    const auto runIds = [](RunJournal& journal) {
        QList<qint64> ids;
        for (const JournalRun& run : journal.recentRuns(10)) {
            ids.prepend(run.id);
        }
        return ids;
    };

    WindowUnderTest under(inOptions ? QByteArray() : QByteArray("[General]\nJournalLimitMB=1\n"),
                          journalPath);
    if (inOptions) {
        // Under the 500 MB it has unless told.
        QTest::qWait(200);
        QCOMPARE(runIds(under.journal), (QList<qint64>{1, 2, 3, 4}));
        QString shownLimit;
        QTimer::singleShot(0, &under.window, [&] {
            auto* limit = QApplication::activeModalWidget()->findChild<QSpinBox*>(
                QStringLiteral("sbJournalLimit"));
            shownLimit = limit->text();
            QTest::keyClick(limit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(limit, QStringLiteral("1"));
            QTest::keyClick(limit, Qt::Key_Return);
        });
        QTest::mouseClick(under.child<QToolButton>("btnCaptureOptions"), Qt::LeftButton);
        QCOMPARE(shownLimit, QStringLiteral("500 MB"));
        QVERIFY(fileBytes(under.settingFile).contains("JournalLimitMB=1\n"));
    }
    QTRY_COMPARE(runIds(under.journal), (QList<qint64>{2, 4}));
    const qint64 size = QFileInfo(journalPath).size();
    QVERIFY2(size < 1'000'000, qPrintable(QString::number(size)));
    QCOMPARE(under.window.statusBar()->toolTip(),
             QStringLiteral("The run journal was over 1 MB: deleted 2 runs (80 lines) that ended, "
                            "the oldest first; it takes ") +
                 QString::number((size + 500) / 1000) + QStringLiteral(" kB now"));
}

}  // namespace larkspan

int runResultsViewsTests(int argc, char* argv[]) {
    larkspan::ResultsViewsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "results_views_test.moc"
