#include "app/ErrorBoxText.h"

namespace ErrorBoxText {

QString location(const QString& handler)
{
    return QStringLiteral("in Tessavine2021/08/31.Form1.") + handler + QLatin1Char(' ');
}

QString message(
    const QString& description, const QString& location, int step, const QString& supportAddress)
{
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ")
        + QString::number(step) + QStringLiteral("\r\r")
        + QStringLiteral("Please email screenshot of this message to ") + supportAddress;
}

QString supportAddress()
{
    return QStringLiteral(TESSAVINE_SUPPORT_ADDRESS);
}

} // namespace ErrorBoxText
