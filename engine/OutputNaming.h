// Names of output files: which kind a destination asks for, and the temporary file
// written beside it until the conversion succeeds.
#pragma once

#include <QString>

enum class OutputKind
{
    Unsupported,
    Video, // ".wmv": picture and sound
    Audio, // ".wma": sound only
};

OutputKind outputKindFor(const QString& destination);

// A fresh candidate name for the temporary file of destination: in the same folder,
// so that the final rename never crosses file systems, and short, so that every
// destination name the file system takes can be written.
QString tempPathFor(const QString& destination);
