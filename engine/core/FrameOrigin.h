// Where a frame handed to a writer came from.
#pragma once

enum class FrameOrigin
{
    Source,  // decoded from the file
    Padding, // made up after the file's data ran out: the last picture again, or silence
    StandIn, // black or silence for a file without that kind of stream
};
