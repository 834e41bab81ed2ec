#include "engine/PlainWordList.h"

#include "engine/PlatformError.h"

#include <QIODevice>
#include <QStringDecoder>
#include <cstring>

WordList readPlainWordList(QIODevice& device)
{
    // Read in pieces, each decoded and split at once, so that a bad byte or an endless line is
    // found within the first piece it appears in, not after the whole input is in memory.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    std::vector<QString> words;
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    QByteArray line;
    qint64 total = 0;
    const auto take = [&] {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            words.push_back(decoder(line));
        if (decoder.hasError())
            throw PlatformError(QStringLiteral("not UTF-8 text"));
        if (words.size() > PlainWordLimits::maxWords)
            throw PlatformError(QStringLiteral("more words than a word list can hold (%1)")
                                    .arg(PlainWordLimits::maxWords));
        line.clear();
    };
    const auto add = [&](const char* data, qsizetype size) {
        if (std::memchr(data, '\0', size_t(size)))
            throw PlatformError(QStringLiteral("not a text file"));
        if (line.size() + size > PlainWordLimits::maxLineBytes)
            throw PlatformError(
                QStringLiteral("a line longer than %1 bytes").arg(PlainWordLimits::maxLineBytes));
        line.append(data, size);
    };
    for (;;) {
        const qint64 got = device.read(piece.data(), piece.size());
        if (got < 0)
            throw PlatformError(device.errorString());
        if (got == 0)
            break;
        total += got;
        if (total > PlainWordLimits::maxBytes)
            throw PlatformError(QStringLiteral("larger than a word list can be (%1 MB)")
                                    .arg(PlainWordLimits::maxBytes >> 20));
        const char* data = piece.constData();
        const char* const end = data + got;
        while (data < end) {
            const auto* feed
                = static_cast<const char*>(std::memchr(data, '\n', size_t(end - data)));
            add(data, (feed ? feed : end) - data);
            if (!feed)
                break;
            take();
            data = feed + 1;
        }
    }
    take();
    return WordList(std::move(words));
}
