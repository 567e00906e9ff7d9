#include "VideoColour.h"

#include "OutputNaming.h"

extern "C" {
#include <libavcodec/codec_par.h>
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

#include <cstring>

namespace {

constexpr int kHdLines = 720;
constexpr int kHdColumns = 1280;

// Matrices the scalers know; any other tag is no better than none.
bool isKnownMatrix(AVColorSpace matrix)
{
    switch (matrix) {
    case AVCOL_SPC_BT709:
    case AVCOL_SPC_FCC:
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
    case AVCOL_SPC_SMPTE240M:
    case AVCOL_SPC_YCGCO:
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL: return true;
    default: return false;
    }
}

AVColorSpace sameMatrixAs(AVColorSpace matrix)
{
    return matrix == AVCOL_SPC_BT470BG ? AVCOL_SPC_SMPTE170M : matrix;
}

template <typename Value> Value tagged(Value ofPicture, Value ofStream, Value unspecified)
{
    return ofPicture != unspecified ? ofPicture : ofStream;
}

} // namespace

bool isHighDefinition(int widthPx, int heightPx)
{
    return heightPx >= kHdLines || widthPx >= kHdColumns;
}

VideoColour standardColourFor(int widthPx, int heightPx)
{
    if (isHighDefinition(widthPx, heightPx))
        return {AVCOL_SPC_BT709, AVCOL_RANGE_MPEG, AVCOL_PRI_BT709, AVCOL_TRC_BT709};
    return {AVCOL_SPC_SMPTE170M, AVCOL_RANGE_MPEG, AVCOL_PRI_SMPTE170M, AVCOL_TRC_SMPTE170M};
}

VideoColour outputColourFor(const OutputContainer& container, int widthPx, int heightPx)
{
    return container.sdColourAtAnySize ? standardColourFor(0, 0) : standardColourFor(widthPx, heightPx);
}

VideoColour sourceColourOf(const AVFrame* picture, const AVCodecParameters* stream, bool sdColourAtAnySize)
{
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(AVPixelFormat(picture->format));
    if (format && (format->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)))
        return {AVCOL_SPC_RGB, AVCOL_RANGE_JPEG, picture->color_primaries, picture->color_trc};
    const VideoColour standard =
        sdColourAtAnySize ? standardColourFor(0, 0) : standardColourFor(picture->width, picture->height);
    VideoColour colour{
        tagged(picture->colorspace, stream->color_space, AVCOL_SPC_UNSPECIFIED),
        tagged(picture->color_range, stream->color_range, AVCOL_RANGE_UNSPECIFIED),
        tagged(picture->color_primaries, stream->color_primaries, AVCOL_PRI_UNSPECIFIED),
        tagged(picture->color_trc, stream->color_trc, AVCOL_TRC_UNSPECIFIED),
    };
    const bool jpegFormat = format && std::strncmp(format->name, "yuvj", 4) == 0;
    if (jpegFormat || colour.range == AVCOL_RANGE_UNSPECIFIED)
        colour.range = jpegFormat ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    if (colour.transfer == AVCOL_TRC_UNSPECIFIED)
        colour.transfer = standard.transfer;
    // HDR is made in BT.2020 colours
    const bool hdr = isHdr(colour);
    if (!isKnownMatrix(colour.matrix))
        colour.matrix = hdr ? AVCOL_SPC_BT2020_NCL : standard.matrix;
    if (colour.primaries == AVCOL_PRI_UNSPECIFIED)
        colour.primaries = hdr ? AVCOL_PRI_BT2020 : standard.primaries;
    return colour;
}

VideoColour viewingColourFor(const VideoColour& source, int widthPx, int heightPx)
{
    if (isHdr(source) || source.matrix == AVCOL_SPC_RGB)
        return standardColourFor(widthPx, heightPx);
    VideoColour own = source;
    own.range = AVCOL_RANGE_MPEG;
    return own;
}

bool isHdr(const VideoColour& colour)
{
    return colour.transfer == AVCOL_TRC_SMPTE2084 || colour.transfer == AVCOL_TRC_ARIB_STD_B67;
}

bool sameYuvEncoding(const VideoColour& a, const VideoColour& b)
{
    return sameMatrixAs(a.matrix) == sameMatrixAs(b.matrix) && a.range == b.range;
}

void stampColour(AVFrame* picture, const VideoColour& colour)
{
    picture->colorspace = colour.matrix;
    picture->color_range = colour.range;
    picture->color_primaries = colour.primaries;
    picture->color_trc = colour.transfer;
}
