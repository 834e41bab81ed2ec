#pragma once

#include "platform/TextWriter.h"

// Writes pieces with POSIX open, write and close, one cycle per piece.
class FileTextWriter : public TextWriter
{
public:
    void WriteTextPiece(const QString& text, const QString& path, int pieceNumber) override;
};
