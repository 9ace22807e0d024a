#include "shell/splash_screen.h"

#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include "shell/app_resources.h"

namespace larkspan {

namespace {

constexpr int kBorderWidth = 3;
constexpr QSize kClientSize(394, 169);

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text, QPoint position) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->move(position);
    label->adjustSize();
    return label;
}

}  // namespace

TfrmSplashScreen::TfrmSplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    loadAppResources();
    setObjectName(QStringLiteral("TfrmSplashScreen"));

    // The border is the window's own colour, darkened so that the borderless window has an edge;
    // the client area inside it holds the controls.
    setFixedSize(kClientSize + QSize(2 * kBorderWidth, 2 * kBorderWidth));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setGeometry(QRect(QPoint(kBorderWidth, kBorderWidth), kClientSize));
    client->setBackgroundRole(QPalette::Window);
    client->setAutoFillBackground(true);

    // Tahoma where it is installed, else the closest face the font matcher finds; 11 pixels is
    // 8 points on the 96-dpi layout the window keeps.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/larkspan/SplashPicture")));
    Image1->move(15, 15);
    Image1->adjustSize();

    QFont titleFont = font;
    titleFont.setPixelSize(19);
    lblTitle = makeLabel(client, "lblTitle", QStringLiteral("Larkspan [Larkspan]"), {168, 56});
    lblTitle->setFont(titleFont);
    lblTitle->adjustSize();
    lblMessages = makeLabel(client, "lblMessages", QStringLiteral("Initializing..."), {168, 91});
}

void TfrmSplashScreen::setMessage(const QString& message) {
    lblMessages->setText(message);
    lblMessages->adjustSize();
}

void TfrmSplashScreen::showEvent(QShowEvent* event) {
    // Centred on the screen it opens on, each time, since the desktop may have changed.
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

}  // namespace larkspan
