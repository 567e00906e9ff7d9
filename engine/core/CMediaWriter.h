// Encodes pictures and sound with the encoders of an output file type and writes them
// into its container (ASF, MP4, WebM, MP3). Knows nothing of where the frames come from.
#pragma once

#include "FfmpegHandles.h"
#include "MediaClip.h"
#include "MediaError.h"
#include "MediaFacts.h"
#include "OutputNaming.h"
#include "OutputProfile.h"
#include "engine/VideoQuality.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// How the video encoder spends its bits.
struct RateControl
{
    enum class Kind
    {
        Profile,         // at the profile's bit rate
        ConstantQuality, // at level, whatever the bits
        FirstPass,       // fast, writing down where the bits are needed
        SecondPass,      // at the format's bit rate, spent where the first pass found them needed
    };
    Kind kind = Kind::Profile;
    QualityLevel level = QualityLevel::Good;
    QByteArray stats;  // of SecondPass: what the first pass wrote down (see takePassStats)
    QString statsFile; // where libx264 keeps its own, in both passes
};

struct VideoEncoding
{
    VideoFormat format;
    AVRational frameRate{25, 1}; // the rate actually written, at most format.maxFrameRate
    RateControl rate;
};

// A fixed quantiser is read off each picture rather than the encoder, so each is given it.
void stampFixedQuality(const AVCodecContext* encoder, AVFrame* picture);

// Appends what a first-pass encoder has written down: after each packet for the
// encoders that note each picture, and once flushed for libvpx, which sums up at its end.
void takePassStats(AVCodecContext* encoder, bool flushed, QByteArray* stats);

// The pictures the video encoder takes: the size and rate, in the container's colour.
VideoFrameFormat frameFormatFor(const VideoEncoding& encoding, const OutputContainer& container);

// The encoders alone, opened as the writer would open them: a format they refuse is
// found out before any file is made. Null on failure, error says why.
CodecContextPtr openVideoEncoder(const VideoEncoding& encoding, const OutputContainer& container,
                                 MediaError* error = nullptr);
CodecContextPtr openAudioEncoder(const AudioFormat& format, const OutputContainer& container,
                                 MediaError* error = nullptr);

// Sends frame (null: the end) to encoder and hands each packet it gives back to
// take, which returns a negative code to stop. The encoder's or take's error, or 0.
int encodePackets(AVCodecContext* encoder, const AVFrame* frame, AVPacket* packet,
                  const std::function<int(AVPacket*)>& take);

// The sound format the container's encoder is given for the one asked for (Opus
// works at 48 kHz; MP3 takes only certain bit rates).
AudioFormat audioFormatFor(const OutputContainer& container, const AudioFormat& wanted);

class CMediaWriter
{
public:
    // Opens the encoders and the file and writes the header with what the container
    // holds of facts; null on failure, error says why. At least one of video and audio
    // is needed; ".wma" files get no video.
    static std::unique_ptr<CMediaWriter> create(const QString& path, const OutputContainer& container,
                                                const std::optional<VideoEncoding>& video,
                                                const std::optional<AudioFormat>& audio,
                                                const MediaFacts& facts, MediaError* error);
    // The same, writing nowhere: it only counts the bytes the file would have (see bytes()).
    static std::unique_ptr<CMediaWriter> createCounting(const OutputContainer& container,
                                                        const std::optional<VideoEncoding>& video,
                                                        const std::optional<AudioFormat>& audio,
                                                        MediaError* error);
    ~CMediaWriter();
    CMediaWriter(const CMediaWriter&) = delete;
    CMediaWriter& operator=(const CMediaWriter&) = delete;

    // A picture with pts counted in frames (yuv420p at the output size).
    int writeVideo(AVFrame* frame);
    // A picture encoded elsewhere by an encoder opened like this writer's (see
    // openVideoEncoder), pts counted in frames.
    int writeVideoPacket(AVPacket* packet);
    // Sound in planar float at the output rate, any number of samples.
    int writeAudio(const AVFrame* frame);
    // Flushes the encoders, writes the trailer and closes the file; the file is
    // complete only when this returns 0.
    int finish();

    // Output time written so far.
    double writtenSeconds() const { return m_writtenSeconds; }

    struct Bytes
    {
        int64_t video = 0; // of the encoded pictures
        int64_t audio = 0; // of the encoded sound
        int64_t file = 0;  // of the whole file; only once a counting writer has finished
    };
    const Bytes& bytes() const { return m_bytes; }
    // What a first-pass video encoder wrote down (see RateControl).
    const QByteArray& passStats() const { return m_passStats; }
    // Why the last call failed.
    const MediaError& error() const { return m_error; }

private:
    CMediaWriter(QString path, const OutputContainer& container)
        : m_path(std::move(path)), m_container(container)
    {
    }
    int audioFrameSize() const;
    bool open(const std::optional<VideoEncoding>& video, const std::optional<AudioFormat>& audio,
              const MediaFacts& facts);
    AVStream* addStream(AVCodecContext* encoder);
    int openSink(const QByteArray& url);
    int fail(MediaStage stage, int code);
    int encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame);
    int writePacket(AVPacket* packet, AVRational timeBase, AVStream* stream);
    int encodeAudioFromFifo(int sampleCount);

    struct CountingSink;
    struct CountingSinkFreer
    {
        void operator()(CountingSink* sink) const;
    };

    const QString m_path; // empty for a counting writer
    const OutputContainer& m_container;
    MediaError m_error;
    std::unique_ptr<CountingSink, CountingSinkFreer> m_counting; // outlives m_output, which writes into it
    OutputFormatPtr m_output;
    CodecContextPtr m_videoEncoder;
    CodecContextPtr m_audioEncoder;
    AVStream* m_videoStream = nullptr; // owned by m_output
    AVStream* m_audioStream = nullptr; // owned by m_output
    AudioFifoPtr m_audioFifo;
    PacketPtr m_packet;
    int64_t m_audioSamplesEncoded = 0;
    double m_writtenSeconds = 0.0;
    Bytes m_bytes;
    QByteArray m_passStats;
};
