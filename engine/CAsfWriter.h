// Encodes pictures with wmv2 and sound with wmav2 and writes them into an ASF file
// (".wmv" or ".wma"). Knows nothing of where the frames come from.
#pragma once

#include "FfmpegHandles.h"
#include "MediaError.h"
#include "OutputProfile.h"

#include <QString>

#include <memory>
#include <optional>

struct VideoEncoding
{
    VideoFormat format;
    AVRational frameRate{25, 1}; // the rate actually written, at most format.maxFrameRate
};

// The encoders alone, opened as the writer would open them: a format they refuse is
// found out before any file is made. Null on failure, error says why.
CodecContextPtr openVideoEncoder(const VideoEncoding& encoding, MediaError* error = nullptr);
CodecContextPtr openAudioEncoder(const AudioFormat& format, MediaError* error = nullptr);

class CAsfWriter
{
public:
    // Opens the encoders and the file and writes the header; null on failure, error
    // says why. At least one of video and audio is needed; ".wma" files get no video.
    static std::unique_ptr<CAsfWriter> create(const QString& path, const std::optional<VideoEncoding>& video,
                                              const std::optional<AudioFormat>& audio, MediaError* error);
    ~CAsfWriter();
    CAsfWriter(const CAsfWriter&) = delete;
    CAsfWriter& operator=(const CAsfWriter&) = delete;

    // A picture with pts counted in frames (yuv420p at the output size).
    int writeVideo(AVFrame* frame);
    // Sound in planar float at the output rate, any number of samples.
    int writeAudio(const AVFrame* frame);
    // Flushes the encoders, writes the trailer and closes the file; the file is
    // complete only when this returns 0.
    int finish();

    // Output time written so far.
    double writtenSeconds() const { return m_writtenSeconds; }
    // Why the last call failed.
    const MediaError& error() const { return m_error; }

private:
    explicit CAsfWriter(QString path) : m_path(std::move(path)) {}
    bool open(const std::optional<VideoEncoding>& video, const std::optional<AudioFormat>& audio);
    AVStream* addStream(AVCodecContext* encoder);
    int fail(MediaStage stage, int code);
    int encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame);
    int encodeAudioFromFifo(int sampleCount);

    const QString m_path;
    MediaError m_error;
    OutputFormatPtr m_output;
    CodecContextPtr m_videoEncoder;
    CodecContextPtr m_audioEncoder;
    AVStream* m_videoStream = nullptr; // owned by m_output
    AVStream* m_audioStream = nullptr; // owned by m_output
    AudioFifoPtr m_audioFifo;
    PacketPtr m_packet;
    int64_t m_audioSamplesEncoded = 0;
    double m_writtenSeconds = 0.0;
};
