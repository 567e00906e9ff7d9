#include "CMediaEngine.h"

#include "CTempOutput.h"
#include "MediaFilters.h"
#include "MediaInput.h"
#include "MediaPaths.h"
#include "OutputNaming.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

using InputCache = QHash<QString, std::optional<MediaInfo>>;

std::optional<MediaInfo> inspectOnce(const QString& path, InputCache* cache)
{
    auto found = cache->find(path);
    if (found == cache->end())
        found = cache->insert(path, inspectMedia(path));
    return *found;
}

// Clamps each clip to its file; false when a file cannot be read or a span is empty.
bool clampClips(std::vector<MediaClip>* clips, InputCache* inputs)
{
    for (MediaClip& clip : *clips) {
        const std::optional<MediaInfo> info = inspectOnce(clip.path, inputs);
        if (!info || !clampToLength(&clip, info->durationSeconds))
            return false;
    }
    return true;
}

// Output length of the clips; nullopt when a clip is too short for one frame or sample.
std::optional<double> totalSeconds(const std::vector<MediaClip>& clips, AVRational unitsPerSecond)
{
    int64_t units = 0;
    for (const MediaClip& clip : clips) {
        const int64_t clipUnits = unitsInSpan(clip.endSeconds - clip.startSeconds, unitsPerSecond);
        if (clipUnits < 1)
            return std::nullopt;
        units += clipUnits;
    }
    return double(units) / av_q2d(unitsPerSecond);
}

bool isUsableOutput(const QString& outputPath, const ClipList& clips)
{
    const QFileInfo output(outputPath);
    if (output.exists() && !output.isFile())
        return false;
    if (!QFileInfo(output.absolutePath()).isDir())
        return false;
    for (const std::vector<MediaClip>* list : {&clips.video, &clips.audio}) {
        for (const MediaClip& clip : *list) {
            if (isSameFile(outputPath, clip.path))
                return false;
        }
    }
    return true;
}

bool isUsableClip(const QString& path, double startSeconds, double endSeconds)
{
    return !path.isEmpty() && std::isfinite(startSeconds) && std::isfinite(endSeconds);
}

} // namespace

CMediaEngine::CMediaEngine(QObject* parent) : QObject(parent)
{
    // Damaged input is expected and handled; FFmpeg's own complaints would only be noise.
    av_log_set_level(AV_LOG_FATAL);
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

void CMediaEngine::clearClips()
{
    m_clips = ClipList();
}

std::optional<WritePlan> CMediaEngine::planWrite(const QString& outputPath) const
{
    const OutputKind kind = outputKindFor(outputPath);
    if (kind == OutputKind::Unsupported || !isUsableOutput(outputPath, m_clips))
        return std::nullopt;
    WritePlan plan;
    plan.outputPath = outputPath;
    if (kind == OutputKind::Video) {
        const std::optional<OutputProfile> profile = loadProfileFile(m_profilePath);
        if (!profile || !profile->video || m_clips.video.empty())
            return std::nullopt;
        plan.video = VideoEncoding{*profile->video, profile->video->maxFrameRate};
        plan.audio = profile->audio;
        plan.clips.video = m_clips.video;
    } else if (m_profilePath.isEmpty()) {
        plan.audio = audioFormatForCode(m_audioCode);
    } else if (const std::optional<OutputProfile> profile = loadProfileFile(m_profilePath)) {
        plan.audio = profile->audio;
    }
    if (plan.audio && !m_clips.audio.empty())
        plan.clips.audio = m_clips.audio;
    else if (kind == OutputKind::Audio)
        return std::nullopt;
    else
        plan.audio.reset(); // a picture without sound

    InputCache inputs;
    if (!clampClips(&plan.clips.video, &inputs) || !clampClips(&plan.clips.audio, &inputs))
        return std::nullopt;
    if (plan.video) {
        plan.video->frameRate =
            clipListFrameRate(plan.clips.video, plan.video->format.maxFrameRate,
                              [&inputs](const QString& path) { return inspectOnce(path, &inputs); });
        const std::optional<double> videoSeconds = totalSeconds(plan.clips.video, plan.video->frameRate);
        if (!videoSeconds || !openVideoEncoder(*plan.video))
            return std::nullopt;
        plan.totalSeconds = *videoSeconds;
    }
    if (plan.audio) {
        const std::optional<double> audioSeconds =
            totalSeconds(plan.clips.audio, AVRational{plan.audio->sampleRateHz, 1});
        if (!audioSeconds || !openAudioEncoder(*plan.audio))
            return std::nullopt;
        plan.totalSeconds = std::max(plan.totalSeconds, *audioSeconds);
    }
    return plan;
}

bool CMediaEngine::saveFile(const QString& outputPath)
{
    stop(); // a new write always replaces the running one
    std::optional<WritePlan> plan = planWrite(outputPath);
    if (!plan)
        return false;
    const std::shared_ptr<CTempOutput> output = CTempOutput::reserve(outputPath);
    if (!output)
        return false;
    plan->outputPath = output->tempPath();

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
    callbacks.finished = [this, generation, output](JobOutcome outcome) {
        if (outcome != JobOutcome::Completed)
            output->discard();
        if (outcome == JobOutcome::Cancelled)
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, outcome, output] { onJobFinished(generation, outcome, output); },
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

void CMediaEngine::onJobFinished(quint64 generation, JobOutcome outcome,
                                 const std::shared_ptr<CTempOutput>& output)
{
    if (generation != m_generation) {
        output->discard();
        return;
    }
    const bool written = outcome == JobOutcome::Completed && output->commit();
    if (!written)
        output->discard();
    m_lastWriteFailed = !written;
    pruneJobs();
    emit finished();
}

void CMediaEngine::pruneJobs()
{
    const auto done = [](const std::unique_ptr<CTranscodeJob>& job) { return job->isDone(); };
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(), done), m_jobs.end());
}
