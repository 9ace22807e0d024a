#include "shell/split_screen_setting.h"

#include <QFile>
#include <QRegularExpression>

namespace larkspan {

// Which values count as a 32-bit integer.
//
// The registry and property lists keep types: an integer comes back as an int, a string as a
// QString, and only the int counts. An INI file keeps none: QSettings writes the integer 1 and
// the string "1" alike as SplitScreen=1 and reads every value back as a QString (only values
// written by this process keep their type until the file is read again). There the text in the
// file decides: bare decimal digits within the 32-bit range, with an optional "-", as QSettings
// writes an integer, count. Anything else is a string and gives no value: letters, "1" in quotes
// (which QSettings unquotes, hence the look at the file itself), @String(1), "+1", "1.0", "0x1".
// A value stored as a QSettings-typed @Variant integer counts, since it comes back as an int.

namespace {

const QString kSplitScreen = QStringLiteral("SplitScreen");
const QString kInspectionTools = QStringLiteral("InspectionTools");
const QString kJournalLimit = QStringLiteral("JournalLimitMB");
const QString kListingsFrom = QStringLiteral("ListingsFrom");
const QString kCaptureList = QStringLiteral("CaptureList");
const QString kSearchList = QStringLiteral("SearchList");

bool storesText(const QSettings& settings) {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return settings.format() == QSettings::IniFormat;
#else
    return settings.format() == QSettings::IniFormat ||
           settings.format() == QSettings::NativeFormat;
#endif
}

// The value text of `key` in the [General] section of an INI file as it is written there,
// trimmed; the last one wins, as in QSettings. Keys before any section belong to [General].
std::optional<QString> iniValueText(const QString& fileName, const QString& key) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    static const QRegularExpression kLineBreak(QStringLiteral("[\r\n]"));
    std::optional<QString> text;
    bool inGeneral = true;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(kLineBreak);
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[')) {
            inGeneral = line.compare(QStringLiteral("[General]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inGeneral && equals > 0 && line.first(equals).trimmed() == key) {
            text = line.sliced(equals + 1).trimmed();
        }
    }
    return text;
}

std::optional<qint32> decimalInt32(const QString& text) {
    static const QRegularExpression kDecimal(QStringLiteral("\\A-?[0-9]+\\z"));
    if (!kDecimal.match(text).hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

}  // namespace

SplitScreenSetting::SplitScreenSetting()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Larkspan-AU-GL"),
                 QStringLiteral("Main")) {}

SplitScreenSetting::SplitScreenSetting(const QString& iniFilePath)
    : m_settings(iniFilePath, QSettings::IniFormat) {}

std::optional<bool> SplitScreenSetting::read() {
    m_settings.sync();  // so that the file holds what this process may have written
    const QVariant value = m_settings.value(kSplitScreen);
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
            return value.toUInt() != 0;
        case QMetaType::QString:
            break;
        default:
            return std::nullopt;
    }
    if (!storesText(m_settings)) {
        return std::nullopt;
    }
    const QString text = value.toString();
    const std::optional<qint32> number = decimalInt32(text);
    if (!number || iniValueText(m_settings.fileName(), kSplitScreen) != text) {
        return std::nullopt;
    }
    return *number != 0;
}

void SplitScreenSetting::write(bool pressed) {
    m_settings.setValue(kSplitScreen, pressed ? 1 : 0);
    m_settings.sync();
}

bool SplitScreenSetting::inspectionToolsShown() {
    m_settings.sync();
    return m_settings.value(kInspectionTools).toInt() != 0;
}

void SplitScreenSetting::setInspectionToolsShown(bool shown) {
    m_settings.setValue(kInspectionTools, shown ? 1 : 0);
    m_settings.sync();
}

std::optional<int> SplitScreenSetting::journalLimit() {
    m_settings.sync();
    bool ok = false;
    const int megabytes = m_settings.value(kJournalLimit).toInt(&ok);
    return ok && megabytes >= 1 ? std::optional<int>(megabytes) : std::nullopt;
}

void SplitScreenSetting::setJournalLimit(int megabytes) {
    m_settings.setValue(kJournalLimit, megabytes);
    m_settings.sync();
}

QString SplitScreenSetting::listingsFrom() {
    m_settings.sync();
    return m_settings.value(kListingsFrom).toString();
}

void SplitScreenSetting::setListingsFrom(const QString& text) {
    m_settings.setValue(kListingsFrom, text);
    m_settings.sync();
}

bool SplitScreenSetting::capturesList() {
    m_settings.sync();
    return m_settings.value(kCaptureList).toInt() != 0;
}

QStringList SplitScreenSetting::searchList() {
    m_settings.sync();
    return m_settings.value(kSearchList).toStringList();
}

void SplitScreenSetting::setSearchList(bool captured, const QStringList& searches) {
    m_settings.setValue(kCaptureList, captured ? 1 : 0);
    m_settings.setValue(kSearchList, searches);
    m_settings.sync();
}

}  // namespace larkspan
