// The error box's text: description, CR LF, location, "at line ", step, CR CR, request, address,
// with nothing lost or added whatever the pieces hold.
#include "FuzzSupport.h"
#include "app/ErrorBoxText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int step = input.ConsumeIntegral<int>();
    const QString description = Fuzz::takeText(input);
    const QString handler = Fuzz::takeText(input, 64);
    const QString address = Fuzz::takeText(input, 64);

    const QString location = ErrorBoxText::location(handler);
    Fuzz::check(location.startsWith(QStringLiteral("in Tessavine2021/08/31.Form1.") + handler)
            && location.endsWith(QLatin1Char(' ')) && location.size() == handler.size() + 30,
        "the location names the handler and ends with one blank", handler);

    const QString message = ErrorBoxText::message(description, location, step, address);
    const QString detail = description + QLatin1Char('|') + handler + QLatin1Char('|') + address;
    Fuzz::check(message.startsWith(description + QStringLiteral("\r\n")),
        "the message starts with the description and CR LF", detail);
    Fuzz::check(message.endsWith(address), "the message ends with the address", detail);
    const QString middle = message.mid(
        description.size() + 2, message.size() - description.size() - 2 - address.size());
    const QString line
        = QStringLiteral("at line ") + QString::number(step) + QStringLiteral("\r\r");
    Fuzz::check(
        middle == location + line + QStringLiteral("Please email screenshot of this message to "),
        "between them: location, line, step, CR CR and the request", detail);
    return 0;
}
