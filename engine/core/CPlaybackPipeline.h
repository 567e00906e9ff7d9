// Preview decoding: a picture thread and a sound thread read their clips in order
// into small queues, which the player empties without ever waiting on them.
#pragma once

#include "CFrameQueue.h"
#include "CWorkerThreads.h"
#include "MediaClip.h"
#include "MediaInput.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

class CClipSequence;

struct PlaybackSetup
{
    ClipList clips;
    int widthPx = 0; // of the pictures
    int heightPx = 0;
    std::optional<AudioFrameFormat> sound;           // none: the sound is not decoded
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_FLT; // packed: FLT or S16
    MediaInspector inspect;                          // tells the pictures' rate
};

class CPlaybackPipeline
{
public:
    explicit CPlaybackPipeline(PlaybackSetup setup);
    // Cancels and waits for the threads.
    ~CPlaybackPipeline();
    CPlaybackPipeline(const CPlaybackPipeline&) = delete;
    CPlaybackPipeline& operator=(const CPlaybackPipeline&) = delete;

    void start();
    // Returns at once; the threads end at their next packet or frame.
    void cancel();
    bool isDone() const { return m_threads.isDone(); }

    // RGB32 pictures of the setup's size, pts in microseconds from the first one.
    // A clip that cannot be read ends the pictures there.
    CFrameQueue& pictures() { return m_pictures; }
    // Packed sound in the setup's format; closed at once when there is none.
    CFrameQueue& sound() { return m_sound; }
    // Why a clip could not be read, once one could not; unset otherwise.
    MediaError failure() const;

private:
    using Convert = std::function<FramePtr(const AVFrame*)>;

    void decodePictures();
    void decodeSound();
    void pump(CClipSequence& sequence, CFrameQueue& queue, AVMediaType type, const Convert& convert);
    void runThread(CFrameQueue& queue, void (CPlaybackPipeline::*body)());

    const PlaybackSetup m_setup;
    std::atomic_bool m_cancel{false};
    mutable std::mutex m_failureMutex;
    MediaError m_failure;
    CFrameQueue m_pictures;
    CFrameQueue m_sound;
    CWorkerThreads m_threads;
};
