#include "platform/RealPlatform.h"
#include "window/Form1.h"
#include "window/ProgramLook.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavine"));
    QApplication::setDesktopFileName(QStringLiteral("tessavine"));
    ProgramLook::apply();

    RealPlatform services(QApplication::applicationDirPath());
    Form1 form(services.platform());
    if (!form.Form_Load())
        return 0;
    form.show();
    return QApplication::exec();
}
