// The file types the program writes, one row each, in the order of the format list:
// what the list shows, the extension, and the container and encoders that fill it.
// The list, the output names and the engine all read this table, so a new format
// is one row here. Plain data (Qt Core only), for the job rules as for the engine.
#pragma once

#include <QString>

#include <vector>

struct OutputContainer
{
    const char* listText;     // the item of the format list
    const char* extension;    // with its dot
    const char* muxer;        // FFmpeg's name for the container
    const char* videoEncoder; // null for a sound-only type
    const char* audioEncoder;
    bool fastStart;         // the index goes before the data, so the file plays while it downloads
    bool encoderThreads;    // the video encoder spreads over the cores by itself
    bool sdColourAtAnySize; // its players read every picture as BT.601, whatever its size or tags
};

const std::vector<OutputContainer>& outputContainers();

// The row of a format list index; null outside the list.
const OutputContainer* outputContainerAt(int formatIndex);

// The seven audio bit rate codes of the audio bitrate list: 15 ("Mono 28.8kbps") to
// 21 ("128kbps"). The engine starts with the first.
constexpr short kFirstAudioCode = 15;
constexpr int kAudioCodeCount = 7;
