// Names of output files: which file type a destination asks for, by its extension,
// and the temporary file written beside it until the conversion succeeds.
#pragma once

#include <QString>

enum class OutputKind
{
    Unsupported,
    Video, // picture and sound
    Audio, // sound only
};

// A file type the engine writes: the container and the encoders that fill it.
struct OutputContainer
{
    const char* extension;
    const char* muxer;        // FFmpeg's name for the container
    const char* videoEncoder; // null for a sound-only type
    const char* audioEncoder;
    bool fastStart;         // the index goes before the data, so the file plays while it downloads
    bool encoderThreads;    // the video encoder spreads over the cores by itself
    bool sdColourAtAnySize; // its players read every picture as BT.601, whatever its size or tags
};

// Null when the extension is not one the engine writes.
const OutputContainer* outputContainerFor(const QString& destination);
OutputKind outputKindFor(const QString& destination);

// A fresh candidate name for the temporary file of destination: in the same folder,
// so that the final rename never crosses file systems, and short, so that every
// destination name the file system takes can be written.
QString tempPathFor(const QString& destination);
