// The media core behind the engine control: clip list, output settings, probing and
// conversions in the background. No widget code; events arrive queued on the thread
// that owns this object (the user-interface thread).
#pragma once

#include "CMediaInfoCache.h"
#include "CTranscodeJob.h"
#include "MediaClip.h"
#include "engine/OutputFormats.h"
#include "engine/VideoQuality.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class CTempOutput;

class CMediaEngine : public QObject
{
    Q_OBJECT
public:
    explicit CMediaEngine(QObject* parent = nullptr);
    // Stops any conversion and waits for its threads; its file is discarded.
    ~CMediaEngine() override;

    void setAudioFormat(int code) { m_audioCode = code; }
    void setProfileFile(const QString& path) { m_profilePath = path; }
    // How the next saveFile() spends the picture's bits; it goes back to the profile's own
    // rate after that write, so a step that does not ask writes as the profile says.
    void setVideoQuality(const VideoQuality& quality) { m_quality = quality; }

    // Length of a media file as far as its data goes; 0.0 when it cannot be read.
    double durationSeconds(const QString& path);
    // Probing through the same cache, for the preview's threads.
    MediaInspector inspector() const;

    bool addVideoClip(const QString& path, double startSeconds, double endSeconds, int stretchMode);
    bool addAudioClip(const QString& path, double startSeconds, double endSeconds);
    void clearClips();
    const ClipList& clips() const { return m_clips; }

    // Checks what can be checked at once, then converts in the background.
    bool saveFile(const QString& outputPath);
    // Ends the running conversion; its file is discarded and no finished() follows.
    void stop();
    // Holds the running conversion where it is, or lets it go on; a new one starts unpaused.
    void setWritePaused(bool paused);
    // The temporary file of the last conversion saveFile() started.
    const QString& writeTempPath() const { return m_writeTempPath; }
    bool lastWriteFailed() const { return m_lastWriteFailed; }
    // Why the last saveFile() refused or the last write failed; unset after a success.
    const MediaError& lastError() const { return m_lastError; }

signals:
    void progress(double positionSeconds, double totalSeconds);
    void finished();

private:
    // What saveFile() would write, or nullopt when it would refuse; the output path
    // of the plan is the destination itself.
    std::optional<WritePlan> planWrite(const QString& outputPath, MediaError* refusal) const;
    void onJobFinished(quint64 generation, JobOutcome outcome, const MediaError& failure,
                       const std::shared_ptr<CTempOutput>& output);
    void pruneJobs();

    ClipList m_clips;
    int m_audioCode = kFirstAudioCode;
    QString m_profilePath;
    VideoQuality m_quality;
    std::shared_ptr<CMediaInfoCache> m_probes; // each file probed once while it is unchanged

    std::vector<std::unique_ptr<CTranscodeJob>> m_jobs;
    // Bumped by every stop and every new conversion: events of older conversions
    // still in the queue are recognised and dropped.
    quint64 m_generation = 0;
    bool m_lastWriteFailed = false;
    MediaError m_lastError;
    QString m_writeTempPath;
};
