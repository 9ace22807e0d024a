#include "shell/main_status_bar.h"

#include "shell/security_zone.h"

#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStyleOption>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace larkspan {

namespace {

constexpr int kProgressBarGap = 5;  // room between the progress bar and the fourth panel
constexpr int kTextMargin = 2;
constexpr QSize kZoneIconSize(16, 16);

constexpr int index(MainStatusBar::Panel panel) { return static_cast<int>(panel); }

}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    setFixedHeight(kHeight);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    placeProgressBar();
}

void MainStatusBar::layoutPanels() {
    // A bar narrower than 20 pixels would give the status text a negative width.
    m_widths = {80, std::max(width() / 2 - 10, 0), 90, 25, 150};
    placeProgressBar();
    update();
}

void MainStatusBar::showProgress(int progress, int progressMax) {
    if (progressMax == 0) {
        return;
    }
    const qint64 percentage = qint64{progress} * 100 / progressMax;
    if (percentage < std::numeric_limits<int>::min() ||
        percentage > std::numeric_limits<int>::max()) {
        return;
    }
    // The bar ignores values outside its range instead of clamping them.
    ProgressBar1->setValue(static_cast<int>(std::clamp<qint64>(percentage, 0, 100)));
    setPanelText(Panel::LoadProgress, QString::number(percentage) + QStringLiteral(" % loaded..."));
}

void MainStatusBar::showStatusText(const QString& text) { setPanelText(Panel::StatusText, text); }

void MainStatusBar::showSecurityZone(const std::optional<QUrl>& address) {
    applySecurityZone(address);
    update();
}

void MainStatusBar::setZoneSource(AddressSource source) {
    m_zoneSource = std::move(source);
    update();
}

bool MainStatusBar::applySecurityZone(const std::optional<QUrl>& address) {
    if (address == m_zoneAddress && !m_zoneIcon.isNull()) {
        return false;
    }
    m_zoneAddress = address;
    m_zoneIcon = QIcon();
    if (address) {
        const SecurityZone zone = SecurityZone::ofUrl(*address);
        m_zoneIcon = zone.icon();
        // Without an icon the zone is unknown, and the last name known stays.
        if (!m_zoneIcon.isNull()) {
            m_texts.at(index(Panel::ZoneName)) = zone.displayName();
        }
    }
    return true;
}

QString MainStatusBar::panelText(Panel panel) const { return m_texts.at(index(panel)); }

QRect MainStatusBar::panelRect(Panel panel) const {
    int left = 0;
    for (int i = 0; i < index(panel); ++i) {
        left += m_widths.at(i);
    }
    return {left, 0, m_widths.at(index(panel)), height()};
}

void MainStatusBar::paintEvent(QPaintEvent* event) {
    // The whole bar, since the zone's name may have changed with its icon.
    if (m_zoneSource && applySecurityZone(m_zoneSource()) && event->rect() != rect()) {
        update();
        return;
    }
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);

    for (int i = 0; i < kPanelCount; ++i) {
        const auto panel = static_cast<Panel>(i);
        QStyleOption frame = option;
        frame.rect = panelRect(panel);
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &frame, &painter, this);
        if (panel == Panel::ZoneIcon) {
            if (!m_zoneIcon.isNull()) {
                m_zoneIcon.paint(&painter, QRect(frame.rect.topLeft(), kZoneIconSize));
            }
            continue;
        }
        style()->drawItemText(&painter, frame.rect.adjusted(kTextMargin, 0, -kTextMargin, 0),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, palette(),
                              isEnabled(), m_texts.at(i), QPalette::WindowText);
    }
}

void MainStatusBar::placeProgressBar() {
    const QRect host = panelRect(Panel::ProgressBar);
    ProgressBar1->setGeometry(host.x(), host.y(), std::max(host.width() - kProgressBarGap, 0),
                              host.height());
}

void MainStatusBar::setPanelText(Panel panel, const QString& text) {
    m_texts.at(index(panel)) = text;
    update(panelRect(panel));
}

}  // namespace larkspan
