#include "shell/start_page.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>

#include "shell/browser_html.h"
#include "shell/crlf_lines.h"
#include "shell/directory_search.h"
#include "shell/windows_1252.h"
#include "qt_printers.h"

namespace larkspan {
namespace {

const QString kSearchAddress = QStringLiteral(
    "www.goldleaf.com.au/search/listings?clue=Restaurants&locationClue=NSW&lat=&lon=");

TEST(DirectorySearch, HttpsOnTheDirectoryHost) {
    EXPECT_EQ(DirectorySearchURL(), QStringLiteral("https://") + kSearchAddress);
    EXPECT_EQ(directorySearchURLWithoutScheme(), kSearchAddress);
}

TEST(Windows1252, DiffersFromLatin1OnlyBetween0x80And0x9F) {
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {QByteArray(), QString()},
        {QByteArray("A z"), QStringLiteral("A z")},
        {QByteArray("\x80", 1), QStringLiteral("\u20ac")},
        {QByteArray("\x84"
                    "CAPTURE"
                    "\x93"),
         QStringLiteral("\u201eCAPTURE\u201c")},
        {QByteArray("l\x92"
                    "a"),
         QStringLiteral("l\u2019a")},
        {QByteArray("\x9f", 1), QStringLiteral("\u0178")},
        {QByteArray("\x81\x8d\x8f\x90\x9d"), QStringLiteral("\u0081\u008d\u008f\u0090\u009d")},
        {QByteArray("\xa0\xe9\xf1\xff"), QStringLiteral("\u00a0\u00e9\u00f1\u00ff")},
        {QByteArray("a\0b", 3), QString::fromUtf16(u"a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeWindows1252(c.bytes), c.text) << c.bytes.toHex().toStdString();
    }
}

TEST(Windows1252, AgreesWithQtWhereQtKnowsTheCodePage) {
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid()) {
        GTEST_SKIP() << "this Qt was built without the code page";
    }
    QByteArray everyByte(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i) {
        everyByte[i] = static_cast<char>(i);
    }
    const QString expected = decoder.decode(everyByte);
    EXPECT_EQ(decodeWindows1252(everyByte), expected);
}

TEST(CrLfLines, EveryLineEndsWithCrLfTheLastOneToo) {
    struct Case {
        QString text;
        QString lines;
    };
    const Case cases[] = {
        {QString(), QString()},
        {QStringLiteral("a"), QStringLiteral("a\r\n")},
        {QStringLiteral("a\r\n"), QStringLiteral("a\r\n")},
        {QStringLiteral("a\n"), QStringLiteral("a\r\n")},
        {QStringLiteral("a\r"), QStringLiteral("a\r\n")},
        {QStringLiteral("a\nb"), QStringLiteral("a\r\nb\r\n")},
        {QStringLiteral("a\r\n\r\nb"), QStringLiteral("a\r\n\r\nb\r\n")},
        {QStringLiteral("a\r\rb"), QStringLiteral("a\r\n\r\nb\r\n")},
        {QStringLiteral("a\n\rb"), QStringLiteral("a\r\n\r\nb\r\n")},
        {QStringLiteral("\r\n"), QStringLiteral("\r\n")},
        {QStringLiteral("\n\n"), QStringLiteral("\r\n\r\n")},
        {QStringLiteral("a\r\n\r\n"), QStringLiteral("a\r\n\r\n")},
        {QStringLiteral(" \t "), QStringLiteral(" \t \r\n")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(withCrLfLineEnds(c.text), c.lines);
    }
}

TEST(BrowserHtml, StylePrefixThenTheHtmlAsCrLfLines) {
    const QString prefix = QStringLiteral(
        "<head><style type=\"text/css\">body {padding-left: 13em;font-family: Georgia, "
        "\"Times New Roman\",Times, serif;font-size:75%;color:#404040;background-color: "
        "#FFFF33}</style></head>");
    struct Case {
        QString html;
        QString text;
    };
    const Case cases[] = {
        {QString(), prefix + QStringLiteral("\r\n")},
        {QStringLiteral("<p>x</p>"), prefix + QStringLiteral("<p>x</p>\r\n")},
        {QStringLiteral("<p>x</p>\n<p>y</p>\n"),
         prefix + QStringLiteral("<p>x</p>\r\n<p>y</p>\r\n")},
        {QStringLiteral("\r\n<body>"), prefix + QStringLiteral("\r\n<body>\r\n")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(styledHtmlForBrowser(c.html), c.text);
    }
}

QByteArray templateBytes() {
    BuildStartPage();  // registers the resources
    QFile resource(QStringLiteral(":/larkspan/HomePage"));
    return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}

TEST(StartPageTemplate, SingleByteTextWithCrLfLines) {
    const QByteArray bytes = templateBytes();
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
    // Windows-1252 letters, not UTF-8 sequences.
    EXPECT_TRUE(bytes.contains("value=\"Espa\xF1ol\""));
    EXPECT_TRUE(
        bytes.contains("value=\"Fran\xE7"
                       "ais\""));
    EXPECT_FALSE(bytes.contains("\xC3"));
    for (const char* placeholder : {"$gl$", "$versiongl$", "$webgl$", "$ver$"}) {
        EXPECT_TRUE(bytes.contains(placeholder)) << placeholder;
    }
}

TEST(StartPage, PlaceholdersFilledEverywhere) {
    const QString page = BuildStartPage();
    for (const char* placeholder : {"$gl$", "$versiongl$", "$webgl$", "$ver$"}) {
        EXPECT_FALSE(page.contains(QLatin1String(placeholder))) << placeholder;
    }
    EXPECT_FALSE(page.contains(u'$'));
    // MainText and the five language sections each link to the search page.
    const QString stepOneLink = QStringLiteral("<a href=\"http://") + kSearchAddress + u'"';
    EXPECT_EQ(page.count(stepOneLink), 6);
}

TEST(StartPage, LinesEndWithCrLf) {
    const QString page = BuildStartPage();
    EXPECT_TRUE(page.endsWith(QStringLiteral("</html>\r\n")));
    EXPECT_EQ(page.count(u'\n'), page.count(QStringLiteral("\r\n")));
    EXPECT_EQ(page.count(u'\r'), page.count(QStringLiteral("\r\n")));
}

// Lines that must appear whole, in this order.
TEST(StartPage, StructureInDocumentOrder) {
    const QString stepOne =
        QStringLiteral("<li><a href=\"http://") + kSearchAddress + QStringLiteral("\">");
    const QString landmarks[] = {
        QStringLiteral("<title>Larkspan Start Page</title>"),
        QStringLiteral("function ShowLanguage(lang)"),
        QStringLiteral("  padding-left: 13em;"),
        QStringLiteral("  background-color: #FFFF33;"),
        QStringLiteral("ul.navbar {"),
        QStringLiteral("  border-right: 1em solid black;"),
        QStringLiteral("  font-family: Helvetica, Geneva, Arial, SunSans-Regular, sans-serif;"),
        QStringLiteral("address {"),
        QStringLiteral("<ul class=\"navbar\">"),
        QStringLiteral("<h1>Larkspan v. 0.89 Stonecrab [08AUG2014]</h1>"),
        QStringLiteral("<hr>"),
        QStringLiteral("<div id=\"MainText\">"),
        stepOne + QStringLiteral("Go to the goldleaf (AU) search page</a>, run your query and "
                                 "wait until the page has loaded.</li>"),
        QStringLiteral("<address>Version: AU-GL. Written and looked after by the Larkspan "
                       "developers.</address>"),
        QStringLiteral("<input type=\"button\" class=\"box\" value=\"Deutsch\" "
                       "onclick=\"ShowLanguage('ger')\">"),
        QStringLiteral("<input type=\"button\" class=\"box\" value=\"English\" "
                       "onclick=\"ShowLanguage('eng')\">"),
        QStringLiteral("<input type=\"button\" class=\"box\" value=\"Espa\u00f1ol\" "
                       "onclick=\"ShowLanguage('esp')\">"),
        QStringLiteral("<input type=\"button\" class=\"box\" value=\"Fran\u00e7ais\" "
                       "onclick=\"ShowLanguage('fra')\">"),
        QStringLiteral("<input type=\"button\" class=\"box\" value=\"Italiano\" "
                       "onclick=\"ShowLanguage('ita')\">"),
        QStringLiteral("<div id=\"eng\" style=\"visibility:hidden;\">"),
        stepOne + QStringLiteral("Go to the goldleaf (AU) search page</a>, run your query and "
                                 "wait until the page has loaded.</li>"),
        QStringLiteral("<div id=\"fra\" style=\"visibility:hidden;\">"),
        QStringLiteral("<p>Enregistrez les fiches d\u2019entreprises en trois \u00e9tapes "
                       "simples :</p>"),
        stepOne + QStringLiteral("Rendez-vous sur la page de recherche de goldleaf (AU)</a>, "
                                 "lancez votre recherche et attendez que la page soit "
                                 "enti\u00e8rement charg\u00e9e.</li>"),
        QStringLiteral("<div id=\"ita\" style=\"visibility:hidden;\">"),
        stepOne + QStringLiteral("Andate alla pagina di ricerca di goldleaf (AU)</a>, avviate la "
                                 "ricerca e attendete che la pagina sia caricata "
                                 "completamente.</li>"),
        QStringLiteral("<div id=\"esp\" style=\"visibility:hidden;\">"),
        stepOne + QStringLiteral("Vaya a la p\u00e1gina de b\u00fasqueda de goldleaf (AU)</a>, "
                                 "realice su consulta y espere a que la p\u00e1gina termine de "
                                 "cargarse.</li>"),
        QStringLiteral("<div id=\"ger\" style=\"visibility:hidden;\">"),
        stepOne +
            QStringLiteral("\u00d6ffnen Sie die Suchseite von goldleaf (AU)</a>, starten Sie "
                           "Ihre Suche und warten Sie, bis die Seite vollst\u00e4ndig geladen "
                           "ist.</li>"),
        QStringLiteral("<li>Klicken Sie oben in diesem Browser auf die Schaltfl\u00e4che "
                       "\u201eCAPTURE\u201c und warten Sie, bis die Daten erfasst sind.</li>"),
        QStringLiteral("</html>"),
    };
    const QString page = BuildStartPage();
    qsizetype from = 0;
    for (const QString& line : landmarks) {
        const qsizetype at =
            page.indexOf(QStringLiteral("\r\n") + line + QStringLiteral("\r\n"), from);
        ASSERT_GE(at, 0) << "missing or out of order: " << line.toStdString();
        from = at + 1;
    }
}

QString between(const QString& page, const QString& start, const QString& end) {
    const qsizetype from = page.indexOf(start);
    if (from < 0) {
        return QStringLiteral("<no ") + start + u'>';
    }
    const qsizetype contentStart = from + start.size();
    return page.mid(contentStart, page.indexOf(end, contentStart) - contentStart);
}

TEST(StartPage, MainTextShowsTheEnglishSection) {
    const QString page = BuildStartPage();
    const QString end = QStringLiteral("</div>");
    const QString mainText = between(page, QStringLiteral("<div id=\"MainText\">\r\n"), end);
    EXPECT_EQ(
        mainText,
        between(page, QStringLiteral("<div id=\"eng\" style=\"visibility:hidden;\">\r\n"), end));
    EXPECT_TRUE(mainText.startsWith(
        QStringLiteral("<p>Capture business listings in three simple steps:</p>\r\n<ol>\r\n")));
    EXPECT_EQ(mainText.count(QStringLiteral("<li>")), 3);
}

TEST(StartPage, EveryLanguageHasThreeStepsAndACsvHelpLink) {
    const QString page = BuildStartPage();
    for (const char* id : {"eng", "fra", "ita", "esp", "ger"}) {
        const QString section =
            between(page,
                    QStringLiteral("<div id=\"%1\" style=\"visibility:hidden;\">\r\n")
                        .arg(QLatin1String(id)),
                    QStringLiteral("</div>"));
        EXPECT_EQ(section.count(QStringLiteral("<li>")), 3) << id;
        EXPECT_EQ(section.count(QStringLiteral("goldleaf (AU)")), 1) << id;
        EXPECT_TRUE(section.contains(QStringLiteral("CAPTURE"))) << id;
        EXPECT_TRUE(section.contains(QStringLiteral("SAVE"))) << id;
        EXPECT_TRUE(section.contains(QStringLiteral("<a href=\"http://spreadsheet-help.example/")))
            << id;
        EXPECT_TRUE(section.contains(QStringLiteral("CSV"))) << id;
    }
}

}  // namespace
}  // namespace larkspan
