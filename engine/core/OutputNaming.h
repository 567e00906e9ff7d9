// Names of output files: which file type a destination asks for, by its extension,
// and the temporary file written beside it until the conversion succeeds.
#pragma once

#include "engine/OutputFormats.h"

#include <QString>

enum class OutputKind
{
    Unsupported,
    Video, // picture and sound
    Audio, // sound only
};

// Null when the extension is not one the engine writes.
const OutputContainer* outputContainerFor(const QString& destination);
OutputKind outputKindFor(const QString& destination);

// A fresh candidate name for the temporary file of destination: in the same folder,
// so that the final rename never crosses file systems, and short, so that every
// destination name the file system takes can be written.
QString tempPathFor(const QString& destination);
