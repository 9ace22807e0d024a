#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProcessResult {
    int exitCode;
    QString out;
    QString err;
};

// `larkspan profile ...` with its configuration folder in configHome.
ProcessResult profileCommand(const QString& configHome, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LARKSPAN_EXECUTABLE), QStringList{"profile"} + arguments);
    process.waitForFinished(60'000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ProfileCommand, ListsSavedProfilesAndFailsOnOneThatDoesNotRead) {
    QTemporaryDir configHome;
    const QString folder = configHome.filePath("larkspan/profiles");
    ProcessResult list = profileCommand(configHome.path(), {"list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "No saved profiles in " + folder + "\n");
    EXPECT_EQ(list.err, "");

    ASSERT_TRUE(QDir().mkpath(folder));
    const QString plain = folder + "/plain.json";
    QFile::copy(QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/profiles/plain.json"), plain);
    const QString harbour = folder + "/harbour.json";
    writeFile(harbour, R"({"name": "Harbour", "matches": ["https://h.example/*", "*/h/*"],
                           "listing": "li", "fields": {"name": "h2"}})");
    list = profileCommand(configHome.path(), {"list"});
    EXPECT_EQ(list.exitCode, 0);
    // Columns as wide as their longest entry: here the harbour file.
    EXPECT_EQ(list.out, "Name                     " +
                            QStringLiteral("File").leftJustified(harbour.size()) + "  Matches\n" +
                            "Harbour                  " + harbour +
                            "  https://h.example/* */h/*\n" + "Stonefruit Trades Guide  " +
                            plain.leftJustified(harbour.size()) + "  */samples/plain/*\n");
    EXPECT_EQ(list.err, "");

    const QString broken = folder + "/broken.json";
    writeFile(broken, R"({"name": "B", "listing": "li", "fields": {"fax": ".fax"}})");
    list = profileCommand(configHome.path(), {"list"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.out.count(u'\n'), 3);
    EXPECT_EQ(list.err, "larkspan: " + broken +
                            ": fields.fax: unknown field (known: name, phone, email, street, "
                            "postcode, city, state, heading, description, website, longitude, "
                            "latitude, map_link, listing_page)\n");
}

TEST(ProfileCommand, UsageErrors) {
    QTemporaryDir configHome;
    struct Case {
        QStringList arguments;
        QString err;
    };
    const Case cases[] = {
        {{}, "larkspan: profile needs a command: list, check or detect\n"},
        {{"list", "extra"}, "larkspan: profile list takes no arguments\n"},
        {{"check", "p.json"},
         "larkspan: profile check needs a profile (FILE or NAME) and an ADDRESS\n"},
        {{"check", "nosuch", "http://127.0.0.1:9/"},
         "larkspan: no saved profile 'nosuch' in " + configHome.path() + "/larkspan/profiles\n"},
        {{"lst"}, "larkspan: unknown profile command 'lst' (known: list, check, detect)\n"},
        {{"list", "--all"}, "larkspan: Unknown option 'all'.\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult run = profileCommand(configHome.path(), c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
    const ProcessResult help = profileCommand(configHome.path(), {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(
        help.out.startsWith("Usage: larkspan profile [options] list | check FILE|NAME ADDRESS | "
                            "detect ADDRESS\n"))
        << help.out.toStdString();
}

}  // namespace
