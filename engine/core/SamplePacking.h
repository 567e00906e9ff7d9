// Planar float sound from the clip reader as the interleaved samples a sound
// device takes.
#pragma once

#include "FfmpegHandles.h"

// planar: AV_SAMPLE_FMT_FLTP; packedFormat: AV_SAMPLE_FMT_FLT or AV_SAMPLE_FMT_S16
// (clipped to full scale). Null for any other format or when memory runs out.
FramePtr packSamples(const AVFrame* planar, AVSampleFormat packedFormat);

// Keeps float sound (FLT or FLTP) within full scale, silencing what is not a number:
// damaged sound can decode to samples far outside it, which some encoders refuse.
void clampToFullScale(AVFrame* frame);
