#include "shell/window_main.h"

#include "shell/splash_screen.h"
#include "shell/split_screen_setting.h"
#include "shell/tfrm_my_browser.h"
#include "shell/user_dialogs.h"
#include "browser/chromium_sandbox.h"
#include "journal/journal_error.h"
#include "journal/run_journal.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QTimer>

#include <memory>

namespace larkspan {
namespace {

// The program's look: calm lavender tones on the platform-neutral style.
void applyLavenderStyle(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = application.palette();
    palette.setColor(QPalette::Window, QColor(0xe9, 0xe4, 0xf4));
    palette.setColor(QPalette::Button, QColor(0xdd, 0xd5, 0xee));
    palette.setColor(QPalette::Highlight, QColor(0x7b, 0x68, 0xb5));
    palette.setColor(QPalette::Base, Qt::white);
    application.setPalette(palette);
}

}  // namespace

int runWindow(int argc, char* argv[], const std::optional<QUrl>& startAddress) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    // Only once there is a display: without one the program says so and nothing else. The
    // engine reads the setting when the first page is made, later still.
    disableSandboxWhenRoot();
    QApplication::setApplicationName(QStringLiteral("Larkspan"));
    // Desktops find the program's entry, and with it its icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(LARKSPAN_APP_ID));
    applyLavenderStyle(application);

    ModalDialogs dialogs;
    SplitScreenSetting splitSetting;
    std::unique_ptr<RunJournal> journal;
    try {
        journal = std::make_unique<RunJournal>();
    } catch (const JournalError& error) {
        // The window works without it; its runs only cannot be resumed.
        qWarning("%s", error.what());
    }
    TfrmMyBrowser window(dialogs, splitSetting, journal.get());
    // Created with the window and never shown; the waits show instances of their own.
    TfrmSplashScreen splash;
    window.show();
    if (startAddress) {
        QTimer::singleShot(0, &window, [&window, &startAddress] {
            window.openInCaptureTab(*startAddress);
        });
    }
    return QApplication::exec();
}

}  // namespace larkspan
