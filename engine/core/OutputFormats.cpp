#include "OutputFormats.h"

// Windows Media as ever; then what browsers, phones and TVs play today. The list texts
// of the appended items line their patterns up with the first two's in the skin's face.
const std::vector<OutputContainer>& outputContainers()
{
    static const std::vector<OutputContainer> containers{
        {"WMV-Windows Media Format               (*.wmv)", ".wmv", "asf", "wmv2", "wmav2", false, false, true},
        {"WMA-Windows Media Audio                (*.wma)", ".wma", "asf", nullptr, "wmav2", false, false, true},
        {"MP4-H.264 Video                                  (*.mp4)", ".mp4", "mp4", "libx264", "aac", true,
         true, false},
        {"WebM-VP9 Video                                  (*.webm)", ".webm", "webm", "libvpx-vp9", "libopus",
         false, true, false},
        {"MP3-Audio                                             (*.mp3)", ".mp3", "mp3", nullptr, "libmp3lame",
         false, false, false},
        {"M4A-AAC Audio                                     (*.m4a)", ".m4a", "ipod", nullptr, "aac", true,
         false, false},
    };
    return containers;
}

const OutputContainer* outputContainerAt(int formatIndex)
{
    const std::vector<OutputContainer>& containers = outputContainers();
    if (formatIndex < 0 || formatIndex >= int(containers.size()))
        return nullptr;
    return &containers[size_t(formatIndex)];
}
