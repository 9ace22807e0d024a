#include "shell/splash_screen.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScreen>

#include "qt_printers.h"

namespace larkspan {
namespace {

QLabel* label(const TfrmSplashScreen& splash, const char* name) {
    return splash.findChild<QLabel*>(QString::fromLatin1(name));
}

TEST(SplashScreen, BorderlessOnTopWithAClientAreaOf394By169) {
    const TfrmSplashScreen splash;
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(splash.size(), QSize(400, 175));  // a 3-pixel border round the client area
    const auto* client = splash.findChild<QWidget*>(QStringLiteral("client"));
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->geometry(), QRect(3, 3, 394, 169));
    EXPECT_EQ(splash.font().family(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(splash.isHidden());
}

TEST(SplashScreen, PictureAndLabelsInPlace) {
    struct Case {
        const char* name;
        QString text;
        QPoint position;
        int pixelSize;
    };
    const Case cases[] = {
        {"lblTitle", QStringLiteral("Larkspan [Larkspan]"), {168, 56}, 19},
        {"lblMessages", QStringLiteral("Initializing..."), {168, 91}, 11},
    };
    const TfrmSplashScreen splash;
    for (const Case& c : cases) {
        const QLabel* shown = label(splash, c.name);
        ASSERT_NE(shown, nullptr) << c.name;
        EXPECT_EQ(shown->text(), c.text) << c.name;
        EXPECT_EQ(shown->pos(), c.position) << c.name;
        EXPECT_EQ(shown->font().pixelSize(), c.pixelSize) << c.name;
        EXPECT_EQ(shown->font().family(), QStringLiteral("Tahoma")) << c.name;
    }
    const QLabel* picture = label(splash, "Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pos(), QPoint(15, 15));
    const QPixmap pixmap = picture->pixmap();
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(picture->size(), pixmap.size());
    // The picture ends before the labels begin, and inside the client area.
    EXPECT_LT(picture->geometry().right(), 168);
    EXPECT_LE(picture->geometry().bottom(), 169);
}

TEST(SplashScreen, MessageReplacesTheLineAndFitsIt) {
    TfrmSplashScreen splash;
    const QString message = QStringLiteral("The page is turning... and turning and turning");
    splash.setMessage(message);
    const QLabel* messages = label(splash, "lblMessages");
    EXPECT_EQ(messages->text(), message);
    EXPECT_GE(messages->width(), messages->fontMetrics().horizontalAdvance(message));
    EXPECT_EQ(messages->pos(), QPoint(168, 91));
}

TEST(SplashScreen, ShownCentredOnTheScreen) {
    TfrmSplashScreen splash;
    splash.move(0, 0);
    splash.show();
    ASSERT_NE(splash.screen(), nullptr);
    EXPECT_EQ(splash.geometry().center(), splash.screen()->availableGeometry().center());
}

}  // namespace
}  // namespace larkspan
