// render_window OUT.png [--dark]: draws the real window, with a dozen generated words in its list,
// into a PNG without a display (offscreen platform), for the README; --dark under a dark scheme,
// which the program's own look overrides as it does when started from a dark desktop.
#include "desktop/RealPlatform.h"
#include "platform/SilentServices.h"
#include "window/Form1.h"
#include "window/ProgramLook.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    const bool dark = argc == 3 && qstrcmp(argv[2], "--dark") == 0;
    if (argc != 2 && !dark) {
        std::fprintf(stderr, "usage: render_window OUT.png [--dark]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fresh options, never the settings of the user running this.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (dark) {
        // A dark desktop scheme, as a dark theme hands it to Qt programs.
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
        palette.setColor(QPalette::Text, Qt::white);
        palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
        palette.setColor(QPalette::ButtonText, Qt::white);
        QApplication::setPalette(palette);
    }
    ProgramLook::apply();

    SilentDialogs dialogs;
    NoSpreadsheetLauncher spreadsheet;
    RealPlatform services(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    Platform& platform = services.platform();
    platform.dialogs = &dialogs;
    platform.spreadsheet = &spreadsheet;

    Form1 form(platform);
    if (!form.Form_Load())
        return 1;
    form.Text5->setText(QStringLiteral("/home/user/Desktop/"));
    form.show();
    form.Text1->setText(QStringLiteral("12"));
    form.PushButton1_Click();
    QCoreApplication::processEvents();
    if (!form.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
