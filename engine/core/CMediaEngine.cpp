#include "CMediaEngine.h"

#include "CTempOutput.h"
#include "EngineLog.h"
#include "MediaFilters.h"
#include "MediaInput.h"
#include "MediaPaths.h"
#include "OutputNaming.h"
#include "platform/FileNames.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

MediaError refusal(const QString& rule, const QString& file = QString())
{
    return mediaError(MediaStage::Check, rule, file);
}

// Clamps each clip to its file; false when a file cannot be read or a span is empty.
bool clampClips(std::vector<MediaClip>* clips, CMediaInfoCache& probes, MediaError* error)
{
    for (MediaClip& clip : *clips) {
        const std::optional<MediaInfo> info = probes.inspect(clip.path, error);
        if (!info)
            return false;
        if (!clampToLength(&clip, info->durationSeconds)) {
            *error = refusal(QStringLiteral("the span %1-%2 s is outside the file's %3 s")
                                 .arg(clip.startSeconds)
                                 .arg(clip.endSeconds)
                                 .arg(info->durationSeconds),
                             clip.path);
            return false;
        }
    }
    return true;
}

// Output length of the clips; nullopt, with why, when a clip is too short for one unit
// (a frame or a sample).
std::optional<double> totalSeconds(const std::vector<MediaClip>& clips, AVRational unitsPerSecond,
                                   const char* unit, MediaError* refused)
{
    int64_t units = 0;
    for (const MediaClip& clip : clips) {
        const int64_t clipUnits = unitsInSpan(clip.endSeconds - clip.startSeconds, unitsPerSecond);
        if (clipUnits < 1) {
            *refused = refusal(QStringLiteral("the span %1-%2 s is shorter than one %3")
                                   .arg(clip.startSeconds)
                                   .arg(clip.endSeconds)
                                   .arg(QLatin1String(unit)),
                               clip.path);
            return std::nullopt;
        }
        units += clipUnits;
    }
    return double(units) / av_q2d(unitsPerSecond);
}

bool isUsableOutput(const QString& outputPath, const ClipList& clips, MediaError* error)
{
    const PathKind output = pathKind(outputPath);
    if (output != PathKind::Missing && output != PathKind::File)
        *error = refusal(QStringLiteral("the output exists and is not a file"), outputPath);
    else if (pathKind(QFileInfo(outputPath).absolutePath()) != PathKind::Folder)
        *error = refusal(HasLostBytes(outputPath)
                             ? QStringLiteral("the output folder's name is not UTF-8, and was lost on the way")
                             : QStringLiteral("the output folder does not exist"),
                         outputPath);
    for (const std::vector<MediaClip>* list : {&clips.video, &clips.audio}) {
        for (const MediaClip& clip : *list) {
            if (isSameFile(outputPath, clip.path))
                *error = refusal(QStringLiteral("the output is one of the sources"), outputPath);
        }
    }
    return !error->isSet();
}

// The quality asked for; a target size the sound alone would fill is refused. The
// mode is the picture's: a sound-only file is written as its bit rate code says.
bool applyQuality(const VideoQuality& quality, WritePlan* plan, MediaError* refused)
{
    if (!plan->video || quality.mode == QualityMode::ProfileBitrate)
        return true;
    if (quality.mode == QualityMode::ConstantQuality) {
        plan->video->rate.kind = RateControl::Kind::ConstantQuality;
        plan->video->rate.level = quality.level;
        return true;
    }
    const int64_t target = std::llround(quality.targetMegabytes * kBytesPerMegabyte);
    const int64_t soundBytes = plan->audio ? std::llround(plan->audio->bitrateBps * plan->totalSeconds / 8.0) : 0;
    if (targetVideoBitrate(target, soundBytes, 0, plan->totalSeconds) < kMinVideoBitrateBps) {
        *refused = refusal(QStringLiteral("a target of %1 MB is too small: the sound alone takes %2 MB")
                               .arg(quality.targetMegabytes)
                               .arg(double(soundBytes) / kBytesPerMegabyte, 0, 'f', 2),
                           plan->outputPath);
        return false;
    }
    plan->targetBytes = target;
    return true;
}

bool isUsableClip(const QString& path, double startSeconds, double endSeconds)
{
    return !path.isEmpty() && std::isfinite(startSeconds) && std::isfinite(endSeconds);
}

} // namespace

CMediaEngine::CMediaEngine(QObject* parent) : QObject(parent), m_probes(std::make_shared<CMediaInfoCache>())
{
    routeFfmpegLog();
}

CMediaEngine::~CMediaEngine()
{
    for (const std::unique_ptr<CTranscodeJob>& job : m_jobs)
        job->cancel();
    m_jobs.clear();
}

bool CMediaEngine::addVideoClip(const QString& path, double startSeconds, double endSeconds, int stretchMode)
{
    if (!isUsableClip(path, startSeconds, endSeconds) || !isStretchMode(stretchMode))
        return false;
    m_clips.video.push_back(MediaClip{path, startSeconds, endSeconds, stretchMode});
    return true;
}

bool CMediaEngine::addAudioClip(const QString& path, double startSeconds, double endSeconds)
{
    if (!isUsableClip(path, startSeconds, endSeconds))
        return false;
    m_clips.audio.push_back(MediaClip{path, startSeconds, endSeconds, 0});
    return true;
}

double CMediaEngine::durationSeconds(const QString& path)
{
    const std::optional<MediaInfo> info = m_probes->inspect(path);
    return info ? info->durationSeconds : 0.0;
}

MediaInspector CMediaEngine::inspector() const
{
    return [probes = m_probes](const QString& path) { return probes->inspect(path); };
}

void CMediaEngine::clearClips()
{
    m_clips = ClipList();
}

std::optional<WritePlan> CMediaEngine::planWrite(const QString& outputPath, MediaError* refused) const
{
    const OutputContainer* container = outputContainerFor(outputPath);
    if (!container) {
        *refused = refusal(QStringLiteral("the output is not a type the engine writes"), outputPath);
        return std::nullopt;
    }
    const OutputKind kind = outputKindFor(outputPath);
    if (!isUsableOutput(outputPath, m_clips, refused))
        return std::nullopt;
    WritePlan plan;
    plan.outputPath = outputPath;
    plan.container = container;
    if (kind == OutputKind::Video) {
        const std::optional<OutputProfile> profile = loadProfileFile(m_profilePath);
        if (!profile || !profile->video || m_clips.video.empty()) {
            *refused = refusal(m_clips.video.empty() ? QStringLiteral("no picture clips")
                                                     : QStringLiteral("no usable video profile"),
                               m_profilePath);
            return std::nullopt;
        }
        plan.video = VideoEncoding{*profile->video, profile->video->maxFrameRate, RateControl()};
        plan.audio = profile->audio;
        plan.clips.video = m_clips.video;
    } else if (m_profilePath.isEmpty()) {
        plan.audio = audioFormatForCode(m_audioCode);
    } else if (const std::optional<OutputProfile> profile = loadProfileFile(m_profilePath)) {
        plan.audio = profile->audio;
    }
    if (plan.audio && !m_clips.audio.empty()) {
        plan.clips.audio = m_clips.audio;
    } else if (kind == OutputKind::Audio) {
        *refused =
            refusal(plan.audio ? QStringLiteral("no sound clips") : QStringLiteral("no usable sound format"));
        return std::nullopt;
    } else {
        plan.audio.reset(); // a picture without sound
    }

    if (!clampClips(&plan.clips.video, *m_probes, refused) ||
        !clampClips(&plan.clips.audio, *m_probes, refused))
        return std::nullopt;
    plan.facts = factsForClips(plan.clips, kind == OutputKind::Audio, [this](const QString& path) {
        const std::optional<MediaInfo> info = m_probes->inspect(path);
        return info ? std::optional<MediaFacts>(info->facts) : std::nullopt;
    });
    if (plan.video) {
        plan.video->frameRate =
            clipListFrameRate(plan.clips.video, plan.video->format.maxFrameRate, inspector());
        const std::optional<double> videoSeconds =
            totalSeconds(plan.clips.video, plan.video->frameRate, "frame", refused);
        if (!videoSeconds)
            return std::nullopt;
        if (!openVideoEncoder(*plan.video, *container, refused))
            return std::nullopt;
        plan.totalSeconds = *videoSeconds;
    }
    if (plan.audio) {
        plan.audio = audioFormatFor(*container, *plan.audio);
        const std::optional<double> audioSeconds =
            totalSeconds(plan.clips.audio, AVRational{plan.audio->sampleRateHz, 1}, "sample", refused);
        if (!audioSeconds)
            return std::nullopt;
        if (!openAudioEncoder(*plan.audio, *container, refused))
            return std::nullopt;
        plan.totalSeconds = std::max(plan.totalSeconds, *audioSeconds);
    }
    if (!applyQuality(m_quality, &plan, refused))
        return std::nullopt;
    return plan;
}

bool CMediaEngine::saveFile(const QString& outputPath)
{
    stop(); // a new write always replaces the running one
    m_lastError = MediaError();
    std::optional<WritePlan> plan = planWrite(outputPath, &m_lastError);
    m_quality = VideoQuality(); // asked for one write at a time
    const std::shared_ptr<CTempOutput> output = plan ? CTempOutput::reserve(outputPath) : nullptr;
    if (plan && !output)
        m_lastError =
            mediaError(MediaStage::Write, QStringLiteral("the output folder cannot be written"), outputPath);
    if (!output) {
        qCWarning(lcEngine, "SaveFile refused: %s", qPrintable(m_lastError.text()));
        return false;
    }
    qCDebug(lcEngine).nospace() << "SaveFile " << outputPath << " via " << output->tempPath() << ": "
                                << plan->totalSeconds << " s, " << plan->clips.video.size() << " picture and "
                                << plan->clips.audio.size() << " sound clips, picture "
                                << (plan->video ? plan->video->format.widthPx : 0) << "x"
                                << (plan->video ? plan->video->format.heightPx : 0) << ", sound "
                                << (plan->audio ? plan->audio->bitrateBps : 0) << " b/s";
    plan->outputPath = output->tempPath();
    m_writeTempPath = output->tempPath();

    const quint64 generation = m_generation;
    CTranscodeJob::Callbacks callbacks;
    callbacks.progress = [this, generation](double positionSeconds, double total) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, positionSeconds, total] {
                if (generation == m_generation)
                    emit progress(positionSeconds, total);
            },
            Qt::QueuedConnection);
    };
    callbacks.finished = [this, generation, output](JobOutcome outcome, MediaError failure) {
        // A power cut after "Completed" must not leave half a file where the old one stood.
        if (outcome == JobOutcome::Completed && !output->flush()) {
            outcome = JobOutcome::Failed;
            failure = mediaError(MediaStage::Write, QStringLiteral("the file could not be flushed to disk"),
                                 output->tempPath());
        }
        if (outcome != JobOutcome::Completed)
            output->discard();
        if (outcome == JobOutcome::Cancelled)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, generation, outcome, failure, output] {
                onJobFinished(generation, outcome, failure, output);
            },
            Qt::QueuedConnection);
    };
    m_jobs.push_back(std::make_unique<CTranscodeJob>(std::move(*plan), std::move(callbacks)));
    m_jobs.back()->start();
    return true;
}

void CMediaEngine::stop()
{
    ++m_generation;
    for (const std::unique_ptr<CTranscodeJob>& job : m_jobs)
        job->cancel();
    pruneJobs();
}

void CMediaEngine::setWritePaused(bool paused)
{
    for (const std::unique_ptr<CTranscodeJob>& job : m_jobs)
        job->setPaused(paused);
}

void CMediaEngine::onJobFinished(quint64 generation, JobOutcome outcome, const MediaError& failure,
                                 const std::shared_ptr<CTempOutput>& output)
{
    if (generation != m_generation) {
        output->discard();
        return;
    }
    m_lastError = outcome == JobOutcome::Completed ? MediaError() : failure;
    if (m_lastError.file == output->tempPath())
        m_lastError.file = output->destination(); // the name the user knows
    if (outcome == JobOutcome::Completed && !output->commit())
        m_lastError =
            mediaError(MediaStage::Rename, QStringLiteral("the finished file could not replace the output"),
                       output->destination());
    else if (outcome != JobOutcome::Completed && !m_lastError.isSet())
        m_lastError =
            mediaError(MediaStage::Write, QStringLiteral("the write failed"), output->destination());
    const bool written = !m_lastError.isSet();
    if (!written) {
        output->discard();
        qCWarning(lcEngine, "Write failed: %s", qPrintable(m_lastError.text()));
    }
    m_lastWriteFailed = !written;
    pruneJobs();
    emit finished();
}

void CMediaEngine::pruneJobs()
{
    const auto done = [](const std::unique_ptr<CTranscodeJob>& job) { return job->isDone(); };
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(), done), m_jobs.end());
}
