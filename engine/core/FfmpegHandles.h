// Owners for FFmpeg objects: each pointer type frees its object with the matching
// library function, so no early return leaks a context, frame or packet.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
}

#include <memory>

struct InputFormatCloser
{
    // Frees the input's interrupt watch as well (MediaInput.cpp).
    void operator()(AVFormatContext* ctx) const;
};
struct OutputFormatCloser
{
    // Closes the file too; the trailer, if any, is written before this runs.
    void operator()(AVFormatContext* ctx) const
    {
        if (ctx->pb && !(ctx->oformat->flags & AVFMT_NOFILE) && !(ctx->flags & AVFMT_FLAG_CUSTOM_IO))
            avio_closep(&ctx->pb);
        avformat_free_context(ctx);
    }
};
struct CodecContextFreer
{
    // A second pass's statistics are the user's to free, FFmpeg says.
    void operator()(AVCodecContext* ctx) const
    {
        av_freep(&ctx->stats_in);
        avcodec_free_context(&ctx);
    }
};
struct FrameFreer
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FilterGraphFreer
{
    void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};
struct AudioFifoFreer
{
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};

using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatCloser>;
using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatCloser>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphFreer>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoFreer>;

inline FramePtr allocFrame()
{
    return FramePtr(av_frame_alloc());
}
inline PacketPtr allocPacket()
{
    return PacketPtr(av_packet_alloc());
}
