#include "cli/Exit.h"

#include <QStringDecoder>
#include <cstring>

[[noreturn]] void fail(int status, const QString& message)
{
    throw Exit { status, message };
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString shown(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = uchar(bytes[i]);
        const qsizetype n = lead < 0xc0 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString part = decoder(bytes.mid(i, n));
        if (decoder.hasError() || i + n > bytes.size()) {
            text += QStringLiteral("\\x%1").arg(lead, 2, 16, QLatin1Char('0'));
            ++i;
        } else {
            text += part;
            i += n;
        }
    }
    return text;
}

QString oneLine(const QString& message)
{
    QString line;
    for (const QChar c : message) {
        if (c == u'\n')
            line += QStringLiteral("\\n");
        else if (c == u'\t')
            line += QStringLiteral("\\t");
        else if (c.category() == QChar::Other_Control)
            line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

void lacksFact(const QString& asker, const QString& fact, const QString& language)
{
    fail(Failure,
        QStringLiteral("%1 needs %2, which the %3 words do not have")
            .arg(asker, fact, oneLine(language)));
}
