#include "inspect/document_views.h"

#include "browser/twebbrowser.h"
#include "browser_test_helpers.h"
#include "inspect/element_inspector.h"
#include "inspect/page_marks.h"
#include "tests/support/test_http_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace larkspan {
namespace {

using test::loadPage;

const QString kPages = QStringLiteral(LARKSPAN_TEST_DATA "/inspect");
const QString kMark =
    QStringLiteral("<span style=\"background-color: yellow; font-weight: bolder;\">");

// The tree as lines: two blanks of indent per level, the node's image index after a "|".
QStringList treeLines(QTreeWidgetItem* parent, int depth = 0) {
    QStringList lines;
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* node = parent->child(i);
        lines.append(QString(depth * 2, u' ') + node->text(0) + u'|' +
                     node->data(0, Qt::UserRole).toString());
        lines.append(treeLines(node, depth + 1));
    }
    return lines;
}

QString bodyMarkup(TWebbrowser& browser) {
    return browser.Document()->body()->innerHTML();
}

}  // namespace

class DocumentViewsTest : public QObject {
    Q_OBJECT

public:
    DocumentViewsTest() : m_server(kPages), m_other(kPages) {}

private slots:
    void initTestCase();
    void linksAndFrames_data();
    void linksAndFrames();
    void formViews();
    void images_data();
    void images();
    void sourceLineEnds_data();
    void sourceLineEnds();
    void searchTwice();
    void elementUnderCursor();

private:
    QString url(const QString& path) const { return m_server.url(path).toString(); }
    QString other(const QString& path) const { return m_other.url(path).toString(); }

    test::TestHttpServer m_server;
    test::TestHttpServer m_other;
    TWebbrowser m_browser;
};

void DocumentViewsTest::initTestCase() {
    QVERIFY(m_server.listen());
    QVERIFY(m_other.listen());
    m_server.setPlaceholder("{{other}}", m_other.url(QString()).toString().toUtf8());
    m_browser.resize(800, 600);
    m_browser.show();
}

void DocumentViewsTest::linksAndFrames_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("frameset, nested and other-origin frames")
        << "/frameset.html"
        << QStringList{url("/a1"), url("/a2"), url("/n1"), other("/r1"), other("/n1")}
        << QStringList{url("/left.html"), url("/nested.html"), other("/remote.html"),
                       other("/nested.html")};
    QTest::newRow("links around an other-origin frame")
        << "/iframes.html" << QStringList{url("/top1"), url("/top2"), other("/r1"), other("/n1")}
        << QStringList{other("/remote.html"), other("/nested.html")};
    QTest::newRow("no frames") << "/no-frames.html" << QStringList{url("/only")} << QStringList();
}

void DocumentViewsTest::linksAndFrames() {
    QFETCH(QString, page);
    QFETCH(QStringList, links);
    QFETCH(QStringList, frames);

    QVERIFY(loadPage(m_browser, m_server.url(page)));
    QStringList lines{QStringLiteral("left over")};
    ListDocumentLinks(&m_browser, lines);
    QCOMPARE(lines, links);
    ListFrameAddresses(&m_browser, lines);
    QCOMPARE(lines, frames);
}

// Text, select-one, checkbox, a control without a value (the fieldset) and one without a name
// (a custom element, whose class only the page's own scripts know).
void DocumentViewsTest::formViews() {
    QVERIFY(loadPage(m_browser, m_server.url(QStringLiteral("/form.html"))));

    QStringList lines;
    QCOMPARE(ListFormFields(&m_browser, lines), false);
    const QString common = QStringLiteral(" ; innerText : ; innerHTML :");
    QCOMPARE(
        lines,
        (QStringList{
            "Name :q ; ID :query ; TagName :INPUT ; toString :[object HTMLInputElement]" + common,
            "Name :colour ; ID : ; TagName :SELECT ; toString :[object HTMLSelectElement] ; "
            "innerText :Red\nBlue ; innerHTML :<option value=\"r\">Red</option><option "
            "value=\"b\">Blue</option>",
            "Name :open ; ID : ; TagName :INPUT ; toString :[object HTMLInputElement]" + common,
            "Name :more ; ID : ; TagName :FIELDSET ; toString :[object HTMLFieldSetElement]" +
                common,
            "Name :go ; ID : ; TagName :INPUT ; toString :[object HTMLInputElement]" + common,
        }));

    QTreeWidget tree;
    BuildFormTree(&tree, &m_browser, {});
    QCOMPARE(
        treeLines(tree.invisibleRootItem()),
        (QStringList{"Form0: search|3", "  q = pizza|0", "    text|-1", "    MaxLen=40|-1",
                     "  colour = r|7", "    select-one|-1", "    Red = <r>|-1", "    Blue = <b>|-1",
                     "  open = yes|5", "    checkbox|-1", "  FIELDSET has no property value|0",
                     "  go = Go|1", "    submit|-1", "Form1: second|3",
                     "  X-FIELD has no property name|0", "  h = 1|4", "    hidden|-1"}));
    QVERIFY(tree.topLevelItem(0)->child(1)->isExpanded());
    QVERIFY(!tree.topLevelItem(1)->isExpanded());

    QVERIFY(loadPage(m_browser, m_server.url(QStringLiteral("/no-frames.html"))));
    QCOMPARE(ListFormFields(&m_browser, lines), false);
    QCOMPARE(lines, QStringList());
    BuildFormTree(&tree, &m_browser, {});
    QCOMPARE(tree.topLevelItemCount(), 0);
}

void DocumentViewsTest::images_data() {
    QTest::addColumn<QUrl>("page");
    QTest::addColumn<QStringList>("lines");

    const QString file = QDir(kPages).filePath(QStringLiteral("dot.png"));
    QTest::newRow("file page: the image's own file")
        << QUrl::fromLocalFile(QDir(kPages).filePath(QStringLiteral("no-frames.html")))
        << QStringList{"--url  :" + QUrl::fromLocalFile(file).toString(), "--local:" + file};
    QTest::newRow("web page: kept in memory only")
        << m_server.url(QStringLiteral("/no-frames.html"))
        << QStringList{"--url  :" + url("/dot.png"), QStringLiteral("--local:")};
}

void DocumentViewsTest::images() {
    QFETCH(QUrl, page);
    QFETCH(QStringList, lines);

    QVERIFY(loadPage(m_browser, page));
    QStringList listed;
    ListImageFiles(&m_browser, listed);
    QCOMPARE(listed, lines);
}

void DocumentViewsTest::sourceLineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("source");

    QTest::newRow("LF") << QByteArray("<p>a</p>\n<p>b</p>\n") << "<p>a</p>\r\n<p>b</p>\r\n";
    QTest::newRow("CR LF") << QByteArray("<p>a</p>\r\n<p>b</p>\r\n") << "<p>a</p>\r\n<p>b</p>\r\n";
    QTest::newRow("LF TAB, lone CR")
        << QByteArray("<p>a</p>\n\t<p>b</p>\r<p>c</p>") << "<p>a</p>\r\n\t<p>b</p>\r\n<p>c</p>";
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray::fromHex("fffe") +
               QByteArray(reinterpret_cast<const char*>(u"<p>\u00e9</p>\n"), 18)
        << "<p>\u00e9</p>\r\n";
    QTest::newRow("Windows-1252 as declared")
        << QByteArray("<meta charset=\"windows-1252\"><p>caf\xe9 \x80</p>")
        << "<meta charset=\"windows-1252\"><p>caf\u00e9 \u20ac</p>";
}

void DocumentViewsTest::sourceLineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, source);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QVERIFY(loadPage(m_browser, QUrl::fromLocalFile(path)));
    QCOMPARE(ReadDocumentSource(&m_browser), source);
}

void DocumentViewsTest::searchTwice() {
    QVERIFY(loadPage(m_browser, m_server.url(QStringLiteral("/search.html"))));
    SearchAndHighlight(&m_browser, QStringLiteral("pizza"));
    QCOMPARE(bodyMarkup(m_browser).count(kMark), 3);
    QVERIFY(bodyMarkup(m_browser).contains(kMark + "Pizza</span> to go."));
    QVERIFY(bodyMarkup(m_browser).contains("The " + kMark + "pizza</span>iolo"));
    // Scrolled so that the last one is at the top of the window.
    const auto top =
        browser::PageInspection::open(&m_browser)->elementAt(m_browser.mapToGlobal(QPoint(12, 4)));
    QCOMPARE(top->innerText, QStringLiteral("The pizzaiolo sings late."));

    SearchAndHighlight(&m_browser, QStringLiteral("pizza"));
    QCOMPARE(bodyMarkup(m_browser).count(kMark), 6);
    QVERIFY(bodyMarkup(m_browser).contains(kMark + kMark + "Pizza</span></span> to go."));
    SearchAndHighlight(&m_browser, QString());
    QCOMPARE(bodyMarkup(m_browser).count(kMark), 6);
}

// An image shows its address; a plain link after it changes every row but that one.
void DocumentViewsTest::elementUnderCursor() {
    QVERIFY(loadPage(m_browser, m_server.url(QStringLiteral("/pointer.html"))));
    ElementInspector inspector;
    inspector.findChild<QCheckBox*>(QStringLiteral("chkShowElementInfo"))->setChecked(true);
    const auto rows = [&inspector] {
        QStringList texts;
        for (const char* name :
             {"edElementTag", "edElementId", "edElementinnerHTML", "edElementclassName",
              "edElementinnerText", "edElementhref", "edElementSrc"}) {
            texts.append(inspector.findChild<QLineEdit*>(QLatin1String(name))->text());
        }
        return texts;
    };
    QWidget* view = &m_browser;
    inspector.refresh(&m_browser, view->mapToGlobal(QPoint(50, 50)));
    QCOMPARE(rows(), (QStringList{"IMG", "picture", "", "", "", url("/dot.png"), ""}));
    inspector.refresh(&m_browser, view->mapToGlobal(QPoint(50, 150)));
    QCOMPARE(rows(),
             (QStringList{"A", "", "a plain link", "plain", "a plain link", url("/dot.png"), ""}));
    inspector.refresh(&m_browser, view->mapToGlobal(QPoint(-20, 150)));
    QCOMPARE(rows().first(), QStringLiteral("A"));
}

}  // namespace larkspan

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    larkspan::DocumentViewsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "document_views_test.moc"
