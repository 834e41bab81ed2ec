// render_window OUT.png: draws the real window, with a dozen generated words in its list, into a
// PNG without a display (offscreen platform), for the README.
#include "platform/RealPlatform.h"
#include "window/Form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Nothing may wait for an answer while rendering.
class SilentDialogs : public Dialogs
{
public:
    void message(QWidget*, const QString& text, const QString&) override { report(text); }
    void errorBox(QWidget*, const QString& text) override { report(text); }
    QString prompt(QWidget*, const QString&, const QString&) override
    {
        return QStringLiteral("1");
    }
    QString saveFileName(QWidget*, const QString&, const QStringList&, const QString&) override
    {
        return {};
    }
    QString existingDirectory(QWidget*, const QString&, const QString&) override { return {}; }

private:
    static void report(const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

class NoSpreadsheet : public SpreadsheetLauncher
{
public:
    std::unique_ptr<SpreadsheetApplication> start() override { return nullptr; }
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_window OUT.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fresh options, never the settings of the user running this.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);

    SilentDialogs dialogs;
    NoSpreadsheet spreadsheet;
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
