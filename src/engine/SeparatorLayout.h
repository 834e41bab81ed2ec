#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The five ways of joining words into the text of a file, as Combo1 offers them.
namespace SeparatorLayout {

enum Position
{
    MultipleLines = 0,
    Spaces = 1,
    Commas = 2,
    CommaSpaces = 3,
    TypedSeparator = 4
};

// The texts of Combo1, in list order.
const QStringList& texts();

// The layout whose text this is (exact comparison), or nothing.
std::optional<Position> fromText(const QString& text);

// The joiner written after every word but the last.
QString joiner(Position layout, const QString& separatorX);

// Piece k of n: the word, followed by the joiner unless it is the last.
QString piece(const QString& word, bool last, const QString& joiner);

} // namespace SeparatorLayout
