#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <optional>

namespace larkspan {

// The state of the split toggle, kept between runs as the integer SplitScreen: 1 pressed, 0 up;
// next to it, InspectionTools: 1 when the inspection tools are shown, JournalLimitMB: the
// size the run journal is kept under, ListingsFrom: the capture's listing source, and
// CaptureList and SearchList: the list of searches Capture may run.
class SplitScreenSetting {
public:
    // The current user's setting: the registry on Windows, an INI file in the user's
    // configuration folder on Linux.
    SplitScreenSetting();
    // An INI file of its own, for tests.
    explicit SplitScreenSetting(const QString& iniFilePath);

    // Pressed when the stored integer is nonzero. No value when there is none or it is not a
    // 32-bit integer (see the .cpp for what counts in an INI file); the toggle then stays up.
    // Never creates the store.
    std::optional<bool> read();
    // Stores 1 or 0 as an integer, creating the store when missing. Nothing happens when it
    // cannot be written.
    void write(bool pressed);

    // Hidden, unless a nonzero integer is stored.
    bool inspectionToolsShown();
    void setInspectionToolsShown(bool shown);

    // In megabytes; none unless a whole number of at least 1 is stored.
    std::optional<int> journalLimit();
    void setJournalLimit(int megabytes);

    // Where capture runs take their listings from (see ListingsFrom); empty when none is stored.
    QString listingsFrom();
    void setListingsFrom(const QString& text);

    // Whether Capture runs a list of searches, and the list, one first result page a line.
    bool capturesList();
    QStringList searchList();
    void setSearchList(bool captured, const QStringList& searches);

private:
    QSettings m_settings;
};

}  // namespace larkspan
