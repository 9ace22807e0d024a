#pragma once

#include <QIcon>
#include <QStatusBar>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <optional>

class QProgressBar;

namespace larkspan {

// The main window's status bar: five panels side by side, fed by whichever browser reported
// last. The panels are painted here rather than being layout items, so that each sits exactly
// at the width the window gives it.
class MainStatusBar : public QStatusBar {
    Q_OBJECT

public:
    // By position, left to right.
    enum class Panel { LoadProgress, StatusText, ProgressBar, ZoneIcon, ZoneName };
    static constexpr int kPanelCount = 5;
    static constexpr int kHeight = 19;

    explicit MainStatusBar(QWidget* parent = nullptr);

    // Sets the panel widths for the bar's current width and puts the progress bar over its
    // panel. The window calls it on every resize and once when it is shown.
    void layoutPanels();

    // A report that gives no whole percentage (no maximum, or one beyond int) is dropped and the
    // last one stays on show.
    void showProgress(int progress, int progressMax);
    void showStatusText(const QString& text);
    // The zone of the current browser's address; nullopt when there is no current browser.
    void showSecurityZone(const std::optional<QUrl>& address);
    // Where the zone's address comes from: asked again whenever the bar is painted, so the zone
    // follows the current browser also between downloads.
    using AddressSource = std::function<std::optional<QUrl>()>;
    void setZoneSource(AddressSource source);

    QString panelText(Panel panel) const;
    QRect panelRect(Panel panel) const;
    QProgressBar* progressBar() const { return ProgressBar1; }
    // Null while no zone icon is drawn.
    QIcon zoneIcon() const { return m_zoneIcon; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void placeProgressBar();
    void setPanelText(Panel panel, const QString& text);
    // Sets the icon and name of the zone; true when they changed.
    bool applySecurityZone(const std::optional<QUrl>& address);

    // The widths the bar has until it is first laid out.
    std::array<int, kPanelCount> m_widths = {50, 200, 50, 50, 50};
    std::array<QString, kPanelCount> m_texts;
    QIcon m_zoneIcon;
    std::optional<QUrl> m_zoneAddress;
    AddressSource m_zoneSource;
    QProgressBar* ProgressBar1 = nullptr;
};

}  // namespace larkspan
