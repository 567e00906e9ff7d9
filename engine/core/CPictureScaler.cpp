#include "CPictureScaler.h"

extern "C" {
#include <libswscale/swscale.h>
}

void CPictureScaler::ContextFreer::operator()(SwsContext* context) const
{
    sws_freeContext(context);
}

CPictureScaler::CPictureScaler(int widthPx, int heightPx) : m_widthPx(widthPx), m_heightPx(heightPx) {}

FramePtr CPictureScaler::toRgb(const AVFrame* picture)
{
    // The context is rebuilt only when the incoming size or format changes.
    m_context.reset(sws_getCachedContext(m_context.release(), picture->width, picture->height,
                                         AVPixelFormat(picture->format), m_widthPx, m_heightPx,
                                         AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
    FramePtr rgb = allocFrame();
    if (!m_context || !rgb)
        return nullptr;
    // Known matrices are FFmpeg's colour space codes; the scaler does nothing when they stay the same.
    const int* matrix = sws_getCoefficients(picture->colorspace);
    const int sourceFull = picture->color_range == AVCOL_RANGE_JPEG ? 1 : 0;
    const int rgbFull = 1;
    if (sws_setColorspaceDetails(m_context.get(), matrix, sourceFull, matrix, rgbFull, 0, 1 << 16, 1 << 16) <
        0)
        return nullptr;
    rgb->format = AV_PIX_FMT_RGB32;
    rgb->width = m_widthPx;
    rgb->height = m_heightPx;
    if (av_frame_get_buffer(rgb.get(), 0) < 0)
        return nullptr;
    const int rows = sws_scale(m_context.get(), picture->data, picture->linesize, 0, picture->height,
                               rgb->data, rgb->linesize);
    if (rows != m_heightPx)
        return nullptr;
    rgb->pts = picture->pts;
    return rgb;
}
