#include "SamplePacking.h"

extern "C" {
#include <libavutil/samplefmt.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

float toFullScale(float sample)
{
    return std::isnan(sample) ? 0.0f : std::clamp(sample, -1.0f, 1.0f);
}

int16_t toInt16(float sample)
{
    return int16_t(std::lrint(toFullScale(sample) * 32767.0f));
}

template <typename Sample, typename Convert>
void interleave(const AVFrame* planar, AVFrame* packed, Convert convert)
{
    const int channels = planar->ch_layout.nb_channels;
    auto* out = reinterpret_cast<Sample*>(packed->data[0]);
    for (int channel = 0; channel < channels; ++channel) {
        const auto* in = reinterpret_cast<const float*>(planar->extended_data[channel]);
        for (int i = 0; i < planar->nb_samples; ++i)
            out[i * channels + channel] = convert(in[i]);
    }
}

} // namespace

FramePtr packSamples(const AVFrame* planar, AVSampleFormat packedFormat)
{
    const bool supported = planar->format == AV_SAMPLE_FMT_FLTP &&
                           (packedFormat == AV_SAMPLE_FMT_FLT || packedFormat == AV_SAMPLE_FMT_S16);
    if (!supported || planar->ch_layout.nb_channels < 1)
        return nullptr;
    FramePtr packed = allocFrame();
    if (!packed || av_channel_layout_copy(&packed->ch_layout, &planar->ch_layout) < 0)
        return nullptr;
    packed->format = packedFormat;
    packed->nb_samples = planar->nb_samples;
    packed->sample_rate = planar->sample_rate;
    packed->pts = planar->pts;
    if (av_frame_get_buffer(packed.get(), 0) < 0)
        return nullptr;
    if (packedFormat == AV_SAMPLE_FMT_FLT)
        interleave<float>(planar, packed.get(), [](float sample) { return sample; });
    else
        interleave<int16_t>(planar, packed.get(), toInt16);
    return packed;
}

void clampToFullScale(AVFrame* frame)
{
    const auto format = AVSampleFormat(frame->format);
    if (av_get_packed_sample_fmt(format) != AV_SAMPLE_FMT_FLT)
        return;
    const int channels = frame->ch_layout.nb_channels;
    const bool planar = av_sample_fmt_is_planar(format);
    const int planes = planar ? channels : 1;
    const int perPlane = planar ? frame->nb_samples : frame->nb_samples * channels;
    for (int plane = 0; plane < planes; ++plane) {
        auto* samples = reinterpret_cast<float*>(frame->extended_data[plane]);
        std::transform(samples, samples + perPlane, samples, toFullScale);
    }
}
