#include "window/ProgramStart.h"

#include <QList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ProgramStart {

namespace {

    const char helpText[]
        = "Usage: tessavine [OPTION]\n"
          "Opens a window that produces lists of random English words.\n"
          "\n"
          "  -h, --help     show this help and exit\n"
          "      --version  show the version and exit\n"
          "\n"
          "Qt's own options, such as -platform NAME or -display NAME, are understood too.\n"
          "Without a window: tessavine-cli. More in tessavine(1).\n";

    struct HeldMessage
    {
        QtMsgType type;
        QByteArray category;
        QString text;
    };

    QtMessageHandler previousHandler = nullptr;
    QList<HeldMessage>* heldMessages = nullptr;

    // Where the display was looked for, for the one line that says it could not be reached.
    QByteArray displayNamed()
    {
        const QByteArray x = qgetenv("DISPLAY");
        const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
        if (x.isEmpty() && wayland.isEmpty())
            return "DISPLAY and WAYLAND_DISPLAY are not set";
        QByteArray named;
        if (!x.isEmpty())
            named += "DISPLAY=" + x;
        if (!wayland.isEmpty())
            named += QByteArray(named.isEmpty() ? "" : ", ") + "WAYLAND_DISPLAY=" + wayland;
        return named;
    }

    void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtFatalMsg) {
            // Qt would abort here with a page of advice; the user needs one line.
            std::fprintf(stderr,
                "tessavine: cannot open the window: no display could be reached (%s)\n",
                displayNamed().constData());
            std::fflush(stderr);
            std::_Exit(EXIT_FAILURE);
        }
        heldMessages->append({ type, QByteArray(context.category ? context.category : ""), text });
    }

} // namespace

std::optional<int> answerInformationRequest(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--") == 0)
            break;
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            std::fputs(helpText, stdout);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
        }
        if (std::strcmp(argument, "--version") == 0) {
            std::printf("tessavine %s\n", TESSAVINE_VERSION);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
        }
    }
    return std::nullopt;
}

std::optional<int> refuseUnknownArguments(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            continue;
        std::fprintf(stderr, "tessavine: unknown argument '%s'; try 'tessavine --help'\n",
            qPrintable(arguments[i]));
        return 2;
    }
    return std::nullopt;
}

DisplayGuard::DisplayGuard()
{
    heldMessages = new QList<HeldMessage>;
    previousHandler = qInstallMessageHandler(holdMessage);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(previousHandler);
    const QList<HeldMessage> held = std::move(*heldMessages);
    delete heldMessages;
    heldMessages = nullptr;
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        if (previousHandler)
            previousHandler(message.type, context, message.text);
        else
            std::fprintf(
                stderr, "%s\n", qPrintable(qFormatLogMessage(message.type, context, message.text)));
    }
}

} // namespace ProgramStart
