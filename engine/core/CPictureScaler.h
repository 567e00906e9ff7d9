// Turns the clip reader's pictures into RGB pictures of one size, ready to show.
#pragma once

#include "FfmpegHandles.h"

#include <memory>

struct SwsContext;

class CPictureScaler
{
public:
    CPictureScaler(int widthPx, int heightPx);

    // An AV_PIX_FMT_RGB32 picture of the scaler's size with picture's pts, converted by
    // the picture's own matrix and range; null on failure.
    FramePtr toRgb(const AVFrame* picture);

private:
    struct ContextFreer
    {
        void operator()(SwsContext* context) const;
    };

    const int m_widthPx;
    const int m_heightPx;
    std::unique_ptr<SwsContext, ContextFreer> m_context;
};
