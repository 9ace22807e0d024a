// `larkspan profile detect` as users run it: the profile goes to standard output or a file, the
// summary to standard error, and the exit code tells whether the page had listings.

#include "qt_printers.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kPages = QStringLiteral(LARKSPAN_SOURCE_DIR "/tests/data/detect/");

struct ProcessResult {
    int exitCode;
    QByteArray out;
    QString err;
};

// Run as root, the command says first that it turned the engine's sandbox off.
QString withoutRootNotice(QString err) {
    if (err.startsWith(QStringLiteral("larkspan: running as root"))) {
        err.remove(0, err.indexOf(u'\n') + 1);
    }
    return err;
}

ProcessResult detect(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(LARKSPAN_EXECUTABLE), QStringList{"profile", "detect"} + arguments);
    process.closeWriteChannel();
    process.waitForFinished(120'000);
    return {process.exitCode(), process.readAllStandardOutput(),
            withoutRootNotice(QString::fromUtf8(process.readAllStandardError()))};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kPortalProfile = R"json({
    "fields": {
        "city": {
            "pattern": "(?:^|,\\s*)([^,]+?)\\s+[A-Z]{2,3}\\s+\\d{4}$",
            "selector": "div"
        },
        "description": "p",
        "email": "div > a",
        "listing_page": {
            "attribute": "href",
            "selector": "h3 > a"
        },
        "name": "h3",
        "phone": {
            "pattern": "(\\+?\\(?\\d[\\d ().-]{6,}\\d)",
            "selector": ":scope > div:nth-of-type(2)"
        },
        "postcode": {
            "pattern": "\\b(\\d{4})$",
            "selector": "div"
        },
        "state": {
            "pattern": "\\b([A-Z]{2,3})\\s+\\d{4}$",
            "selector": "div"
        },
        "street": {
            "pattern": "^(.*),[^,]*$",
            "selector": "div"
        }
    },
    "listing": "ul.listings > li",
    "name": "Shops in Hobart - Southern Pages",
    "next": {
        "selector": "div.pages a:last-child"
    }
}
)json";

const QString kPortalSummary = QStringLiteral(
    "6 listings found; fields: name, phone, email, street, postcode, city, state, description, "
    "listing_page; next page: NEXT » (div.pages a:last-child)\n"
    "listing: ul.listings > li\n"
    "alternative: div.footer-col: 4 listings found; fields: name, listing_page; next page: "
    "NEXT »\n"
    "alternative: li.mega-col: 4 listings found; fields: name, listing_page; next page: "
    "NEXT »\n");

TEST(ProfileDetectCommand, WritesTheProfileAndSaysWhatItFound) {
    const ProcessResult toOutput = detect({kPages + "portal.html"});
    EXPECT_EQ(toOutput.exitCode, 0);
    EXPECT_EQ(toOutput.out, kPortalProfile);
    EXPECT_EQ(toOutput.err, kPortalSummary);

    QTemporaryDir folder;
    const QString file = folder.filePath("portal.json");
    const ProcessResult toFile = detect({kPages + "portal.html", "-o", file});
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(toFile.err, kPortalSummary);
    EXPECT_EQ(readFile(file), kPortalProfile);
}

TEST(ProfileDetectCommand, FailsWithoutListingsOrAPageAndRefusesMistakes) {
    struct Case {
        QStringList arguments;
        int exitCode;
        QString err;
    };
    const Case cases[] = {
        {{kPages + "no-listings.html"}, 1,
         "larkspan: no group of repeated listings found on file://" + kPages +
             "no-listings.html\n"},
        {{kPages + "missing.html"}, 1,
         "larkspan: cannot read " + kPages + "missing.html: No such file\n"},
        {{}, 2, "larkspan: profile detect takes one ADDRESS\n"},
        {{kPages + "portal.html", kPages + "cards.html"}, 2,
         "larkspan: profile detect takes one ADDRESS\n"},
        {{"--bogus", kPages + "portal.html"}, 2, "larkspan: Unknown option 'bogus'.\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult run = detect(c.arguments);
        const std::string what = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << what;
        EXPECT_EQ(run.out, "") << what;
        EXPECT_EQ(run.err, c.err) << what;
    }
}

}  // namespace
