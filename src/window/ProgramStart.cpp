#include "window/ProgramStart.h"

#include <QList>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <csignal>
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
    // The arguments as given, before Qt takes its own from them.
    QList<QByteArray>* givenArguments = nullptr;

    int refuse(const char* argument)
    {
        std::fprintf(
            stderr, "tessavine: unknown argument '%s'; try 'tessavine --help'\n", argument);
        return 2;
    }

    // The first argument that neither the program nor Qt takes, for when Qt ends before it has
    // taken its own: Qt's options as its manual (qt6options) and its X11 platform list them.
    const char* unknownBeforeQt(const QList<QByteArray>& arguments)
    {
        static const QList<QByteArray> valued { "-platform", "-platformpluginpath",
            "-platformtheme", "-plugin", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle",
            "-session", "-display", "-geometry", "-title", "-icon", "-name", "-visual", "-style",
            "-stylesheet" };
        static const QList<QByteArray> flags { "-reverse", "-widgetcount", "-sync", "-nograb",
            "-dograb", "-testability", "-cmap", "-ncols" };
        static const QList<QByteArray> joined {
            "-style=", "-stylesheet=", "-qmljsdebugger=", "-dialogs=", "-fontengine="
        };
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            QByteArray option = arguments[i];
            if (option == "--")
                continue;
            if (option.startsWith("--"))
                option.remove(0, 1);
            if (valued.contains(option)) {
                ++i;
                continue;
            }
            const auto startsIt
                = [&option](const QByteArray& prefix) { return option.startsWith(prefix); };
            if (!flags.contains(option) && std::none_of(joined.begin(), joined.end(), startsIt))
                return arguments[i].constData();
        }
        return nullptr;
    }

    // Writes the answer to --help or --version: a failure to write it is one line and status 1,
    // also when the reader has gone (which would otherwise end the program silently by signal).
    int answer(const char* what, const char* text)
    {
        std::signal(SIGPIPE, SIG_IGN);
        int error = std::fputs(text, stdout) < 0 ? errno : 0;
        if (std::fflush(stdout) != 0 && error == 0)
            error = errno;
        if (error == 0 && !std::ferror(stdout))
            return EXIT_SUCCESS;
        std::fprintf(stderr, "tessavine: cannot write the %s: %s\n", what,
            error != 0 ? std::strerror(error) : "write error");
        return EXIT_FAILURE;
    }

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
            // Qt would abort here with a page of advice; the user needs one line. An argument
            // that was never valid is the first thing to mend, display or not.
            if (const char* unknown = unknownBeforeQt(*givenArguments))
                std::_Exit(refuse(unknown));
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
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0)
            return answer("help", helpText);
        if (std::strcmp(argument, "--version") == 0)
            return answer("version", "tessavine " TESSAVINE_VERSION "\n");
    }
    return std::nullopt;
}

std::optional<int> refuseUnknownArguments(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            continue;
        return refuse(qPrintable(arguments[i]));
    }
    return std::nullopt;
}

DisplayGuard::DisplayGuard(int argc, char** argv)
{
    givenArguments = new QList<QByteArray>;
    for (int i = 0; i < argc; ++i)
        givenArguments->append(QByteArray(argv[i]));
    heldMessages = new QList<HeldMessage>;
    previousHandler = qInstallMessageHandler(holdMessage);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(previousHandler);
    const QList<HeldMessage> held = std::move(*heldMessages);
    delete heldMessages;
    heldMessages = nullptr;
    delete givenArguments;
    givenArguments = nullptr;
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
