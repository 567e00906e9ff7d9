// One conversion in the background: a reading thread (demux, decode, filter) and a
// writing thread (encode, mux) joined by a bounded frame queue, so that the single-
// threaded wmv2 encoder runs beside the decoding instead of after it. A long span for
// such an encoder is cut into segments instead, each read and encoded on a thread of
// its own, and the writing thread muxes their packets in order with the sound.
#pragma once

#include "CClipSequence.h"
#include "CDataCoverage.h"
#include "CFrameQueue.h"
#include "CMediaWriter.h"
#include "CSegmentQueue.h"
#include "CWorkerThreads.h"
#include "MediaClip.h"
#include "MediaFacts.h"
#include "SegmentPlan.h"

#include <atomic>
#include <functional>
#include <mutex>

// Everything a conversion needs, copied when it starts: later changes to the clip
// list or the settings do not reach it.
struct WritePlan
{
    QString outputPath;
    const OutputContainer* container = nullptr; // the file type, from the destination's extension
    ClipList clips;                             // spans already clamped to their files
    std::optional<VideoEncoding> video;
    std::optional<AudioFormat> audio;
    double totalSeconds = 0.0;
    MediaFacts facts; // of the output, already cut to the spans
};

enum class JobOutcome
{
    Completed, // the file at outputPath is complete
    Failed,    // a read, decode, encode or write error, or a source that ended early; the file is unusable
    Cancelled,
};

class CTranscodeJob
{
public:
    struct Callbacks
    {
        // Called on the writing thread; at most about ten progress calls a second.
        std::function<void(double positionSeconds, double totalSeconds)> progress;
        // Exactly once; failure says why when the outcome is Failed.
        std::function<void(JobOutcome outcome, const MediaError& failure)> finished;
    };

    // workers: how many segments may encode at once (see segmentWorkerCount).
    CTranscodeJob(WritePlan plan, Callbacks callbacks, int workers = segmentWorkerCount());
    // Cancels and waits for both threads.
    ~CTranscodeJob();
    CTranscodeJob(const CTranscodeJob&) = delete;
    CTranscodeJob& operator=(const CTranscodeJob&) = delete;

    void start();
    // Returns at once; the threads end at their next frame or packet.
    void cancel();
    bool isDone() const { return m_threads.isDone(); }
    // How many segments the span is cut into; 0 on the two-thread path.
    size_t segmentCount() const { return m_segmentSpans.size(); }

private:
    void readFrames();
    void writeFrames();
    bool writeAll(CMediaWriter& writer);
    void encodeSegments();
    struct SegmentEncoder
    {
        CodecContextPtr context;
        FramePtr frame;
        PacketPtr packet;
        int64_t sent = 0; // pictures given to the encoder, the pts of the next
    };
    bool encodeSegment(size_t index, SegmentEncoder& encoder);
    bool writeSegments(CMediaWriter& writer);
    bool writeSoundUntil(CMediaWriter& writer, std::optional<CClipSequence>& sound, double seconds);
    void reportProgress(double positionSeconds, bool force);
    void recordReadFailure(const CClipSequence& sequence, int result);
    void recordFailure(const MediaError& failure);
    void abortAll();
    MediaError failure() const;

    const WritePlan m_plan;
    const Callbacks m_callbacks;
    const int m_workers;
    std::atomic_bool m_cancel{false};
    CFrameQueue m_queue;
    CDataCoverage m_coverage; // used by the reading thread alone, or the writing one with segments
    int64_t m_frames = 0;     // pictures in the span
    std::vector<FrameSpan> m_segmentSpans;
    CSegmentQueue m_segments;
    mutable std::mutex m_failureMutex;
    MediaError m_failure; // the first failure of either thread
    int64_t m_lastProgressMs = -1;
    CWorkerThreads m_threads;
};
