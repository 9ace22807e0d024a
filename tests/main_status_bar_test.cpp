#include "shell/main_status_bar.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProgressBar>
#include <QUrl>
#include <limits>

#include "qt_printers.h"

namespace larkspan {
namespace {

using Panel = MainStatusBar::Panel;

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

TEST(MainStatusBar, ProgressAsWholePercent) {
    struct Case {
        int progress;
        int progressMax;
        int position;  // 37 and "37 % loaded..." mean the report was dropped
        const char* text;
    };
    const Case cases[] = {
        {42, 100, 42, "42 % loaded..."},
        {1, 3, 33, "33 % loaded..."},
        {2, 3, 66, "66 % loaded..."},
        {-1, 10000, 0, "0 % loaded..."},
        {-150, 100, 0, "-150 % loaded..."},
        {5, -10, 0, "-50 % loaded..."},
        {-5, -10, 50, "50 % loaded..."},
        {200, 100, 100, "200 % loaded..."},
        {0, 0, 37, "37 % loaded..."},
        {7, 0, 37, "37 % loaded..."},
        {kIntMax, 100, 100, "2147483647 % loaded..."},
        {kIntMax, kIntMax, 100, "100 % loaded..."},
        {kIntMin, 100, 0, "-2147483648 % loaded..."},
        {21474836, 1, 100, "2147483600 % loaded..."},
        {21474837, 1, 37, "37 % loaded..."},
        {kIntMax, 1, 37, "37 % loaded..."},
        {kIntMin, 1, 37, "37 % loaded..."},
        {kIntMin, -1, 37, "37 % loaded..."},
    };
    for (const Case& c : cases) {
        MainStatusBar bar;
        bar.showProgress(37, 100);
        bar.showProgress(c.progress, c.progressMax);
        EXPECT_EQ(bar.progressBar()->value(), c.position) << c.progress << '/' << c.progressMax;
        EXPECT_EQ(bar.panelText(Panel::LoadProgress), QString::fromUtf8(c.text))
            << c.progress << '/' << c.progressMax;
    }
}

TEST(MainStatusBar, StartsEmptyWithTheBarAtZero) {
    const MainStatusBar bar;
    EXPECT_EQ(bar.height(), 19);
    const QProgressBar* progress = bar.progressBar();
    EXPECT_EQ(progress, bar.findChild<QProgressBar*>(QStringLiteral("ProgressBar1")));
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 100);
    EXPECT_EQ(progress->value(), 0);
    for (const Panel panel : {Panel::LoadProgress, Panel::StatusText, Panel::ZoneName}) {
        EXPECT_TRUE(bar.panelText(panel).isEmpty()) << static_cast<int>(panel);
    }
}

TEST(MainStatusBar, StatusTextGoesToTheSecondPanel) {
    MainStatusBar bar;
    bar.showStatusText(QStringLiteral("http://www.example.com/next.html"));
    EXPECT_EQ(bar.panelText(Panel::StatusText), QStringLiteral("http://www.example.com/next.html"));
    EXPECT_TRUE(bar.panelText(Panel::LoadProgress).isEmpty());
}

TEST(MainStatusBar, PanelWidthsFollowTheBarWidth) {
    struct Case {
        int width;
        int statusWidth;
    };
    const Case cases[] = {{884, 432}, {1001, 490}, {400, 190}, {21, 0}, {10, 0}};
    MainStatusBar bar;
    for (const Case& c : cases) {
        bar.resize(c.width, MainStatusBar::kHeight);
        bar.layoutPanels();
        const int barLeft = 80 + c.statusWidth;
        EXPECT_EQ(bar.panelRect(Panel::LoadProgress), QRect(0, 0, 80, 19)) << c.width;
        EXPECT_EQ(bar.panelRect(Panel::StatusText), QRect(80, 0, c.statusWidth, 19)) << c.width;
        EXPECT_EQ(bar.panelRect(Panel::ProgressBar), QRect(barLeft, 0, 90, 19)) << c.width;
        EXPECT_EQ(bar.panelRect(Panel::ZoneIcon), QRect(barLeft + 90, 0, 25, 19)) << c.width;
        EXPECT_EQ(bar.panelRect(Panel::ZoneName), QRect(barLeft + 115, 0, 150, 19)) << c.width;
        EXPECT_EQ(bar.progressBar()->geometry(), QRect(barLeft, 0, 85, 19)) << c.width;
    }
}

TEST(MainStatusBar, ProgressBarOverTheThirdPanelBeforeTheFirstLayout) {
    const MainStatusBar bar;
    EXPECT_EQ(bar.panelRect(Panel::ProgressBar), QRect(250, 0, 50, 19));
    EXPECT_EQ(bar.progressBar()->geometry(), QRect(250, 0, 45, 19));
}

TEST(MainStatusBar, ZoneNameOfTheCurrentAddress) {
    struct Case {
        std::optional<QUrl> address;
        const char* name;
        bool icon;
    };
    // Each case follows "Local intranet"; without an icon that name stays.
    const Case cases[] = {
        {QUrl(QStringLiteral("file:///home/user/results.html")), "My Computer", true},
        {QUrl(QStringLiteral("http://www.example.com/search")), "Internet", true},
        {QUrl(QStringLiteral("https://www.example.com/search")), "Internet (secure)", true},
        {QUrl(), "Local intranet", false},
        {std::nullopt, "Local intranet", false},
    };
    for (const Case& c : cases) {
        const std::string shown = c.address ? c.address->toString().toStdString() : "no browser";
        MainStatusBar bar;
        bar.showSecurityZone(QUrl(QStringLiteral("http://intranet/")));
        bar.showSecurityZone(c.address);
        EXPECT_EQ(bar.panelText(Panel::ZoneName), QString::fromUtf8(c.name)) << shown;
        EXPECT_EQ(!bar.zoneIcon().isNull(), c.icon) << shown;
        EXPECT_TRUE(bar.panelText(Panel::ZoneIcon).isEmpty()) << shown;
    }
}

TEST(MainStatusBar, ZoneIconDrawnAtTheTopLeftOfTheFourthPanel) {
    MainStatusBar bar;
    bar.resize(884, MainStatusBar::kHeight);
    bar.layoutPanels();
    bar.showSecurityZone(QUrl(QStringLiteral("file:///home/user/results.html")));
    const QImage withIcon = bar.grab().toImage();
    bar.showSecurityZone(std::nullopt);
    const QImage without = bar.grab().toImage();
    ASSERT_EQ(withIcon.size(), without.size());

    const QRect iconSquare(bar.panelRect(Panel::ZoneIcon).topLeft(), QSize(16, 16));
    int changedInside = 0;
    for (int y = 0; y < without.height(); ++y) {
        for (int x = 0; x < without.width(); ++x) {
            if (withIcon.pixel(x, y) == without.pixel(x, y)) {
                continue;
            }
            ASSERT_TRUE(iconSquare.contains(x, y)) << x << ',' << y;
            ++changedInside;
        }
    }
    EXPECT_GT(changedInside, 0);
}

}  // namespace
}  // namespace larkspan
