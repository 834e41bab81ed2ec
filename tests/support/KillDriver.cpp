// Runs the real window on the real platform services, built as the program builds them (only the
// dialogs replaced), and acts on it from inside, for tests that kill it with SIGKILL half-way:
//   KillDriver PROGRAM_FOLDER generate   presses "Start Generating" once the event loop runs;
//   KillDriver PROGRAM_FOLDER options    changes options through the controls, then prints "ready".
// Either way it then stays in the event loop until it is killed. No dialog is expected: one is
// printed and ends the driver with status 2, instead of waiting for an answer nobody gives.
#include "desktop/RealPlatform.h"
#include "window/Form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

class ExitingDialogs : public Dialogs
{
public:
    void message(QObject*, const QString& text, const QString&) override { unexpected(text); }
    void errorBox(QObject*, const QString& text) override { unexpected(text); }
    QString prompt(QObject*, const QString& text, const QString&) override { unexpected(text); }
    QString saveFileName(
        QObject*, const QString& caption, const QStringList&, const QString&) override
    {
        unexpected(caption);
    }
    QString existingDirectory(QObject*, const QString& caption, const QString&) override
    {
        unexpected(caption);
    }

private:
    [[noreturn]] static void unexpected(const QString& text)
    {
        std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(text));
        std::_Exit(2);
    }
};

// The changes the kill-safety test expects to find in the settings file afterwards.
void changeOptions(Form1& form)
{
    form.Text1->setText(QStringLiteral("77"));
    form.Text3->setText(QStringLiteral("q"));
    form.Text5->setText(QStringLiteral("/tmp/kill safety/"));
    form.Check1->click();
    form.Check4->click();
    form.Combo1->setCurrentIndex(2);
    form.Combo2->setCurrentIndex(3);
    form.Option8->click();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: KillDriver PROGRAM_FOLDER generate|options\n");
        return 1;
    }

    QApplication::setApplicationName(QStringLiteral("Tessavine"));
    QApplication::setDesktopFileName(QStringLiteral("tessavine"));

    RealPlatform services(arguments[1]);
    ExitingDialogs dialogs;
    Platform& platform = services.platform();
    platform.dialogs = &dialogs;

    Form1 form(platform);
    if (!form.Form_Load())
        return 1;
    form.show();
    if (arguments[2] == QLatin1String("generate")) {
        QTimer::singleShot(0, form.PushButton1, &QPushButton::click);
    } else {
        QTimer::singleShot(0, &form, [&form] {
            changeOptions(form);
            std::printf("ready\n");
            std::fflush(stdout);
        });
    }
    return QApplication::exec();
}
