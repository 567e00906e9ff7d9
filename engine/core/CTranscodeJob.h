// One conversion in the background: a reading thread (demux, decode, filter) and a
// writing thread (encode, mux) joined by a bounded frame queue, so that the single-
// threaded wmv2 encoder runs beside the decoding instead of after it. A long span for
// such an encoder is cut into segments instead, each read and encoded on a thread of
// its own, and the writing thread muxes their packets in order with the sound. A write
// to a target size runs it all twice: a fast first pass that only counts, then the file.
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
    int64_t targetBytes = 0; // a file of this size, in two passes; 0: one pass as the encoding says
    MediaFacts facts;        // of the output, already cut to the spans
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
    // Every thread waits at its next frame or packet until resumed; nothing is lost.
    void setPaused(bool paused) { m_pause.setPaused(paused); }
    bool isDone() const { return m_threads.isDone(); }
    // How many segments the span is cut into; 0 on the two-thread path.
    size_t segmentCount() const { return m_segmentSpans.size(); }

private:
    struct SegmentEncoder
    {
        CodecContextPtr context;
        PacketPtr packet;
        int64_t sent = 0; // pictures given to the encoder, the pts of the next
    };

    int passCount() const { return m_plan.targetBytes > 0 ? 2 : 1; }
    bool isLastPass(int pass) const { return pass + 1 == passCount(); }
    VideoEncoding passEncoding(int pass, const QByteArray& stats) const;
    double videoSeconds() const;
    CClipSequence pictureSequence(std::vector<MediaClip> clips) const;
    CClipSequence soundSequence() const;
    // Runs one thread's body; an exception (out of memory, in practice) fails the job.
    void guarded(MediaStage stage, const std::function<void()>& body);
    void readFrames();
    int readInterleaved(std::optional<CClipSequence>& video, std::optional<CClipSequence>& audio);
    void writeFrames();
    bool writePass(int pass);
    void planSecondPass(const CMediaWriter& firstPass);
    bool writeQueued(CMediaWriter& writer);
    bool writeSegments(CMediaWriter& writer, CSegmentQueue& segments);
    bool openSegments(CSegmentQueue& segments);
    size_t segmentWorkers() const;
    void encodeSegments(size_t worker);
    bool encodeSegment(size_t index, SegmentEncoder& encoder, CSegmentQueue& segments, QByteArray* stats);
    bool writeSound(CMediaWriter& writer, CClipSequence& sound, double untilSeconds);
    bool writeItem(CMediaWriter& writer, const QueuedFrame& item, AVPacket* encoded = nullptr);
    bool outputStillThere(double positionSeconds);
    bool finishWrite(CMediaWriter& writer, const CSegmentQueue* segments);
    void reportProgress(double positionSeconds, bool force);
    double segmentStartSeconds(size_t index) const;
    double segmentEndSeconds(size_t index) const;
    void recordReadFailure(const CClipSequence& sequence, int result, double offsetSeconds = 0.0);
    void recordFailure(const MediaError& failure, double positionSeconds);
    void abortAll();
    MediaError failure() const;

    const WritePlan m_plan;
    const Callbacks m_callbacks;
    const int m_workers;
    std::atomic_bool m_cancel{false};
    CPauseGate m_pause;
    CFrameQueue m_queue;
    CDataCoverage m_coverage; // the writing thread's: frames are admitted in output order
    int64_t m_frames = 0;     // pictures in the span
    std::vector<FrameSpan> m_segmentSpans;
    std::vector<std::optional<CClipSequence>> m_segmentSources; // opened before any segment encodes
    std::vector<std::unique_ptr<CSegmentQueue>> m_passSegments;  // one a pass
    std::vector<QByteArray> m_workerStats;                       // each worker's first pass
    QByteArray m_passStats;           // the writing thread's encoder's first pass
    QString m_statsFile;              // libx264's first pass, for its second
    int64_t m_secondPassBitrateBps = 0; // set before the second pass starts
    int m_pass = 0;                   // the writing thread's
    mutable std::mutex m_failureMutex;
    MediaError m_failure;          // the failure earliest in the output
    double m_failureSeconds = 0.0; // where in the output it happened
    int64_t m_lastProgressMs = -1;
    int64_t m_lastLivenessMs = -1;
    CWorkerThreads m_threads;
};
