// Fuzzes the profile reader: no input may fault it, and a profile it accepts must name
// at least one stream, each in a format the encoders take.
#include "engine/OutputProfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<OutputProfile> profile =
        parseProfile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!profile)
        return 0;
    const bool videoOk = !profile->video || isValidVideoFormat(*profile->video);
    const bool audioOk = !profile->audio || isValidAudioFormat(*profile->audio);
    if (!videoOk || !audioOk || (!profile->video && !profile->audio))
        std::abort();
    return 0;
}
