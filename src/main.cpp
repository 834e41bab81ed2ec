#include "desktop/RealPlatform.h"
#include "window/Form1.h"
#include "window/ProgramLook.h"
#include "window/ProgramStart.h"

#include <QApplication>
#include <cstdlib>
#include <optional>

int main(int argc, char* argv[])
{
    if (const auto status = ProgramStart::answerInformationRequest(argc, argv))
        return *status;
    std::optional<QApplication> app;
    {
        ProgramStart::DisplayGuard guard(argc, argv);
        app.emplace(argc, argv);
    }
    if (const auto status = ProgramStart::refuseUnknownArguments(QApplication::arguments()))
        return *status;
    QApplication::setApplicationName(QStringLiteral("Tessavine"));
    QApplication::setDesktopFileName(QStringLiteral("tessavine"));
    ProgramLook::apply();

    RealPlatform services(QApplication::applicationDirPath());
    Form1 form(services.platform());
    // The word database is missing; the window has said so.
    if (!form.Form_Load())
        return EXIT_FAILURE;
    form.show();
    return QApplication::exec();
}
