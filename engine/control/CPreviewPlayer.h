// Preview playback on the user-interface thread: starts the decoding pipeline,
// shows each picture when the clock reaches it and feeds the sound device. The
// decoding threads are met only through the pipeline's queues, never waited on.
#pragma once

#include "engine/CPresentationClock.h"
#include "engine/FfmpegHandles.h"
#include "engine/MediaClip.h"
#include "engine/MediaInput.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QTimer>

#include <memory>
#include <vector>

class CAudioOutput;
class CPlaybackPipeline;

class CPreviewPlayer : public QObject
{
    Q_OBJECT
public:
    explicit CPreviewPlayer(QObject* parent = nullptr);
    // Waits for the decoding threads, which end at their next packet.
    ~CPreviewPlayer() override;

    // Plays the clip list from its start in pictures of pictureSize, in place of
    // whatever plays; inspect probes the files. False, with the picture cleared, when
    // the list is empty.
    bool play(const ClipList& clips, QSize pictureSize, const MediaInspector& inspect);
    void pause();
    void resume();
    // Ends playback at once and clears the picture.
    void stop();

    // The picture on show; null when there is none. After the end the last one stays.
    const QImage& picture() const { return m_picture; }
    // Its time from the start of the clip list; negative when there is none.
    double pictureSeconds() const { return m_pictureSeconds; }
    bool hasSound() const { return m_audio != nullptr; }
    // Pictures shown, and pictures skipped because a later one was already due.
    int presentedFrames() const { return m_presentedFrames; }
    int droppedFrames() const { return m_droppedFrames; }

signals:
    void pictureChanged();
    // A clip of the list could not be read: the preview stops there.
    void cannotPlay(const QString& reason);
    // The clip list has played out.
    void ended();

private:
    void tick();
    void reportFailure();
    bool isPrerolled();
    bool takeNextPicture();
    void presentDuePicture(double positionSeconds);
    void show(FramePtr picture);
    void clearPicture();
    double endSeconds() const;
    bool hasEnded(double positionSeconds) const;
    void scheduleTick(double positionSeconds);
    void retirePipeline();
    void pruneRetired();
    double nowSeconds() const;

    std::unique_ptr<CPlaybackPipeline> m_pipeline;
    // Cancelled pipelines whose threads are still finishing their last packet.
    std::vector<std::unique_ptr<CPlaybackPipeline>> m_retired;
    std::unique_ptr<CAudioOutput> m_audio;
    CPresentationClock m_clock;
    QElapsedTimer m_wall;
    QTimer m_timer;
    FramePtr m_next; // taken from the queue, not yet due
    int64_t m_lastTakenUs = -1;
    int64_t m_frameIntervalUs = 0;
    QImage m_picture;
    double m_pictureSeconds = -1.0;
    bool m_paused = false;
    bool m_failureReported = false;
    int m_presentedFrames = 0;
    int m_droppedFrames = 0;
};
