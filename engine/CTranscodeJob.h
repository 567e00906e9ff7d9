// One conversion in the background: a reading thread (demux, decode, filter) and a
// writing thread (encode, mux) joined by a bounded frame queue, so that the single-
// threaded wmv2 encoder runs beside the decoding instead of after it.
#pragma once

#include "CDataCoverage.h"
#include "CFrameQueue.h"
#include "CMediaWriter.h"
#include "CWorkerThreads.h"
#include "MediaClip.h"

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

    CTranscodeJob(WritePlan plan, Callbacks callbacks);
    // Cancels and waits for both threads.
    ~CTranscodeJob();
    CTranscodeJob(const CTranscodeJob&) = delete;
    CTranscodeJob& operator=(const CTranscodeJob&) = delete;

    void start();
    // Returns at once; the threads end at their next frame or packet.
    void cancel();
    bool isDone() const { return m_threads.isDone(); }

private:
    void readFrames();
    void writeFrames();
    bool writeAll(CMediaWriter& writer);
    void reportProgress(double positionSeconds, bool force);
    void recordFailure(const MediaError& failure);
    MediaError failure() const;

    const WritePlan m_plan;
    const Callbacks m_callbacks;
    std::atomic_bool m_cancel{false};
    CFrameQueue m_queue;
    CDataCoverage m_coverage; // used by the reading thread alone
    mutable std::mutex m_failureMutex;
    MediaError m_failure; // the first failure of either thread
    int64_t m_lastProgressMs = -1;
    CWorkerThreads m_threads;
};
