#pragma once

#include <QString>

// Writes one piece of a text file per call: open, write, close.
class TextWriter
{
public:
    virtual ~TextWriter() = default;
    // Piece 1 or less replaces the file, later pieces append; a missing file is created.
    // The text is written in the locale's encoding with nothing added. Throws PlatformError.
    virtual void WriteTextPiece(const QString& text, const QString& path, int pieceNumber) = 0;
};
