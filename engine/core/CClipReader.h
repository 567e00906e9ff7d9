// Reads one clip of the clip list: opens the file, seeks to just before the span,
// decodes one stream and passes it through the filter graph that trims it and
// turns it into the output's frame format. Writing and preview both read clips
// through this class; it knows nothing of encoders.
#pragma once

#include "FfmpegHandles.h"
#include "FrameOrigin.h"
#include "MediaClip.h"
#include "MediaError.h"

#include <atomic>
#include <memory>

class CClipReader
{
public:
    // Null when the file cannot be read or the span is empty (error says why). A file
    // without the wanted stream yields black pictures or silence for the span.
    static std::unique_ptr<CClipReader> openVideo(const MediaClip& clip, const VideoFrameFormat& format,
                                                  const std::atomic_bool* cancel, MediaError* error);
    static std::unique_ptr<CClipReader> openAudio(const MediaClip& clip, const AudioFrameFormat& format,
                                                  const std::atomic_bool* cancel, MediaError* error);
    ~CClipReader();
    CClipReader(const CClipReader&) = delete;
    CClipReader& operator=(const CClipReader&) = delete;

    // The next frame of the span: pictures at the output size (yuv420p) in the format's
    // colour, tagged with it, sound as planar float. pts counts frames or samples from the span's start.
    // Returns 0, AVERROR_EOF after the last frame, or an error (see error()). Once the file's data runs out
    // the span is padded to its end; the caller decides how far that may go (see lastOrigin()).
    int readFrame(AVFrame* out);
    FrameOrigin lastOrigin() const { return m_origin; }
    const MediaError& error() const { return m_error; }

private:
    CClipReader(AVMediaType type, const std::atomic_bool* cancel);
    // Null, with why the reader could not open.
    static std::unique_ptr<CClipReader> refused(const CClipReader& reader, const MediaClip& clip,
                                                MediaError* error);
    bool open(const MediaClip& clip, AVRational unitsPerSecond);
    bool openStream();
    int fail(MediaStage stage, int code);
    bool cancelled() const { return m_cancel && m_cancel->load(); }
    void seekBefore(double seconds);
    int decodeNext(AVFrame* frame);
    int readPacket();
    bool stampFrame(AVFrame* frame);
    int feedGraph();
    int buildGraph(const QString& description, const AVFrame* first);
    bool matchesGraphInput(const AVFrame* frame) const;
    QString sourceFilterArgs(const AVFrame* first) const;
    QString clipFilter(const AVFrame* first);
    VideoColour pictureColourFor(const VideoColour& source) const;
    double displayRotation() const;
    int readVideo(AVFrame* out);
    int readAudio(AVFrame* out);
    int padVideo(AVFrame* out);
    int padAudio(AVFrame* out);

    const AVMediaType m_type;
    const std::atomic_bool* m_cancel;
    MediaClip m_clip;
    VideoFrameFormat m_video;
    VideoColour m_colour; // of the pictures read
    bool m_toneMaps = false;
    AudioFrameFormat m_audio;
    int64_t m_lengthUnits = 0; // frames or samples in the whole span
    int64_t m_unitsOut = 0;
    FrameOrigin m_origin = FrameOrigin::Source;
    MediaError m_error;

    InputFormatPtr m_format;
    CodecContextPtr m_decoder;
    int m_streamIndex = -1;
    int64_t m_fileStartTs = 0;          // the file's start in stream time base
    int64_t m_lastPts = AV_NOPTS_VALUE; // of the last decoded frame, from the file's start
    int64_t m_lastDuration = 0;
    bool m_seeked = false;
    bool m_awaitKeyFrame = false;
    bool m_demuxEnded = false;
    bool m_graphInputClosed = false;
    PacketPtr m_packet;
    FramePtr m_decoded;
    FramePtr m_pending; // decoded while checking a seek, not yet filtered
    FramePtr m_lastPicture;

    FilterGraphPtr m_graph;
    AVFilterContext* m_source = nullptr; // owned by m_graph
    AVFilterContext* m_sink = nullptr;   // owned by m_graph
    int m_inputFormat = -1;
    int m_inputWidth = 0;
    int m_inputHeight = 0;
    int m_inputSampleRate = 0;
    int m_inputChannels = 0;
};
