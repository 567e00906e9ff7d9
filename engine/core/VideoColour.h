// The colour of pictures: the matrix and range of their YUV values, and the primaries
// and transfer of the light they stand for. What the engine takes a source to be in,
// and what each output is written in.
#pragma once

extern "C" {
#include <libavutil/pixfmt.h>
}

struct AVCodecParameters;
struct AVFrame;
struct OutputContainer;

struct VideoColour
{
    AVColorSpace matrix = AVCOL_SPC_UNSPECIFIED;
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
};

// From 720 lines or 1280 columns up, where players take an untagged picture as BT.709.
bool isHighDefinition(int widthPx, int heightPx);

// BT.709 for high definition, BT.601 (SMPTE 170M) below, in limited range: what players
// assume of an untagged picture, and what MP4 and WebM are written in.
VideoColour standardColourFor(int widthPx, int heightPx);

// The colour a picture is written in for the container: Windows Media players read
// every size as BT.601, the other players read the tags.
VideoColour outputColourFor(const OutputContainer& container, int widthPx, int heightPx);

// A decoded picture's colour from its tags (the bitstream's, else the stream's), with
// the usual guess for what is untagged: the standard colour of its size (BT.601 at any
// size for a format whose players read it so), full range for the JPEG formats. RGB pictures have the RGB
// matrix and full range.
VideoColour sourceColourOf(const AVFrame* picture, const AVCodecParameters* stream, bool sdColourAtAnySize);

// What a source's pictures are read in for a viewer that converts each by its tags:
// the source's own matrix in limited range; HDR and RGB sources tone-mapped or
// converted into the standard colour of the size.
VideoColour viewingColourFor(const VideoColour& source, int widthPx, int heightPx);

// A PQ or HLG transfer: light far brighter than SDR white, to be tone-mapped.
bool isHdr(const VideoColour& colour);

// True when the two decode to the same RGB (SMPTE 170M and BT.470BG share a matrix).
bool sameYuvEncoding(const VideoColour& a, const VideoColour& b);

void stampColour(AVFrame* picture, const VideoColour& colour);
