#include "shell/split_screen_setting.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <optional>

namespace larkspan {
namespace {

class SplitScreenSettingTest : public ::testing::Test {
protected:
    // A new file name for every use: QSettings keeps what it read of a file for the whole
    // process, and files written by hand here must be read afresh.
    QString newPath() { return m_dir.filePath(QStringLiteral("main%1.ini").arg(m_files++)); }

    QString writeFile(const QByteArray& text) {
        const QString path = newPath();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    // With LF line ends, whatever the platform writes.
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().replace("\r\n", "\n")
                                              : QByteArray("<unreadable>");
    }

    QTemporaryDir m_dir;
    int m_files = 0;
};

TEST_F(SplitScreenSettingTest, MissingFileGivesNoValueAndIsNotCreated) {
    const QString path = newPath();
    EXPECT_EQ(SplitScreenSetting(path).read(), std::nullopt);
    EXPECT_FALSE(QFile::exists(path));
}

// Files as another program or a person may have written them.
TEST_F(SplitScreenSettingTest, ReadsOnlyIntegersFromTheFile) {
    struct Case {
        QByteArray file;
        std::optional<bool> pressed;
    };
    const Case cases[] = {
        {"[General]\nOther=1\n", std::nullopt},
        {"[General]\nSplitScreen=0\n", false},
        {"[General]\nSplitScreen=1\n", true},
        {"[General]\r\nSplitScreen=7\r\n", true},
        {"[General]\nSplitScreen=-1\n", true},
        {"[General]\nSplitScreen=2147483647\n", true},
        {"[General]\nSplitScreen=-2147483648\n", true},
        {"[General]\nSplitScreen=2147483648\n", std::nullopt},
        {"[General]\nSplitScreen = 1 \n", true},
        {"SplitScreen=1\n", true},
        {"[general]\nSplitScreen=1\n", true},
        {"[General]\nSplitScreen=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n", true},
        {"[General]\nSplitScreen=abc\n", std::nullopt},
        {"[General]\nSplitScreen=\"1\"\n", std::nullopt},
        {"[General]\nSplitScreen=@String(1)\n", std::nullopt},
        {"[General]\nSplitScreen=\n", std::nullopt},
        {"[General]\nSplitScreen=1.0\n", std::nullopt},
        {"[General]\nSplitScreen=0x1\n", std::nullopt},
        {"[General]\nSplitScreen=+1\n", std::nullopt},
        {"[General]\nSplitScreen=true\n", std::nullopt},
        {"[General]\nSplitScreen=1, 2\n", std::nullopt},
        {"[General]\nSplitScreen=1\nSplitScreen=abc\n", std::nullopt},
        {"[General]\nSplitScreen=abc\nSplitScreen=0\n", false},
        {"[Other]\nSplitScreen=1\n", std::nullopt},
        {"[General]\nSplitScreen=\"1\"\n[Other]\nSplitScreen=1\n", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitScreenSetting(writeFile(c.file)).read(), c.pressed) << c.file.toStdString();
    }
}

TEST_F(SplitScreenSettingTest, WritesOneOrZeroAsAnInteger) {
    for (const bool pressed : {false, true}) {
        const QString path = newPath();
        SplitScreenSetting(path).write(pressed);
        EXPECT_EQ(readFile(path),
                  pressed ? "[General]\nSplitScreen=1\n" : "[General]\nSplitScreen=0\n");
        EXPECT_EQ(SplitScreenSetting(path).read(), pressed);
    }
}

TEST_F(SplitScreenSettingTest, WriteReplacesAString) {
    const QString path = writeFile("[General]\nSplitScreen=abc\n");
    SplitScreenSetting setting(path);
    EXPECT_EQ(setting.read(), std::nullopt);
    setting.write(true);
    EXPECT_EQ(setting.read(), true);
    EXPECT_EQ(readFile(path), "[General]\nSplitScreen=1\n");
}

TEST_F(SplitScreenSettingTest, WriteKeepsOtherValues) {
    const QString path = writeFile("[General]\nOther=x\nSplitScreen=\"1\"\n");
    SplitScreenSetting(path).write(false);
    EXPECT_EQ(readFile(path), "[General]\nOther=x\nSplitScreen=0\n");
}

// Values this process put there itself keep their type until the file is read again; once in
// the file, a number is a number whatever it was written as.
TEST_F(SplitScreenSettingTest, ValuesWrittenByThisProcess) {
    struct Case {
        QVariant value;
        std::optional<bool> pressed;
    };
    const Case cases[] = {
        {QVariant(0), false},
        {QVariant(5), true},
        {QVariant(QStringLiteral("abc")), std::nullopt},
        {QVariant(QStringLiteral(" 1")), std::nullopt},
        {QVariant(QStringLiteral("1")), true},
        {QVariant(true), std::nullopt},
        {QVariant(1.5), std::nullopt},
        {QVariant(qint64(1)), std::nullopt},
    };
    for (const Case& c : cases) {
        const QString path = newPath();
        QSettings other(path, QSettings::IniFormat);
        other.setValue(QStringLiteral("SplitScreen"), c.value);
        other.sync();
        EXPECT_EQ(SplitScreenSetting(path).read(), c.pressed) << c.value.toString().toStdString();
    }
}

}  // namespace
}  // namespace larkspan
