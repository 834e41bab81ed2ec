#include "engine/PlainWordList.h"

#include "engine/PlatformError.h"

#include <QFile>
#include <QStringDecoder>

WordList readPlainWordList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PlatformError(file.errorString());

    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        throw PlatformError(QStringLiteral("not UTF-8 text"));
    std::vector<QString> words;
    for (QStringView line : QStringTokenizer(text, u'\n', Qt::SkipEmptyParts)) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty())
            words.push_back(line.toString());
    }
    return WordList(std::move(words));
}
