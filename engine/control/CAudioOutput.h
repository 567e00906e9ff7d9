// The sound device the preview plays through: a QAudioSink fed from the sound
// queue on the user-interface thread, a little at a time, never waiting.
#pragma once

#include "engine/CFrameQueue.h"
#include "engine/MediaClip.h"

#include <QtGlobal>

#include <memory>

class QAudioSink;
class QIODevice;

class CAudioOutput
{
public:
    // Null when there is no sound device, it takes none of our formats, or it
    // refuses to start: the preview then runs silently on the system clock.
    static std::unique_ptr<CAudioOutput> open();
    ~CAudioOutput();
    CAudioOutput(const CAudioOutput&) = delete;
    CAudioOutput& operator=(const CAudioOutput&) = delete;

    // What the device wants from the decoder.
    AudioFrameFormat frameFormat() const { return m_frameFormat; }
    AVSampleFormat sampleFormat() const { return m_sampleFormat; }

    // True once the first sound is at hand, or when none will come.
    bool isPrimed(CFrameQueue& sound);
    // Hands the device as much queued sound as its buffer takes.
    void feed(CFrameQueue& sound);
    // Everything the decoder made has gone to the device.
    bool isAllWritten(const CFrameQueue& sound) const;

    double writtenSeconds() const;
    double playedSeconds() const;

    void suspend();
    void resume();
    // The device went away or refused the sound: the player goes on without it.
    bool hasFailed() const;

private:
    CAudioOutput(std::unique_ptr<QAudioSink> sink, QIODevice* device, AudioFrameFormat frameFormat,
                 AVSampleFormat sampleFormat);
    bool takePending(CFrameQueue& sound);
    int bytesPerFrame() const;

    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_device = nullptr; // owned by m_sink
    const AudioFrameFormat m_frameFormat;
    const AVSampleFormat m_sampleFormat;
    FramePtr m_pending; // taken from the queue, partly written
    qint64 m_pendingOffsetBytes = 0;
    qint64 m_writtenBytes = 0;
};
