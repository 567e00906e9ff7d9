#include "CClipSequence.h"

CClipSequence CClipSequence::pictures(std::vector<MediaClip> clips, const VideoFrameFormat& format,
                                      const std::atomic_bool* cancel, const CPauseGate* pause)
{
    return CClipSequence(
        std::move(clips),
        [format, cancel](const MediaClip& clip, MediaError* error) {
            return CClipReader::openVideo(clip, format, cancel, error);
        },
        av_inv_q(format.frameRate), pause);
}

CClipSequence CClipSequence::sound(std::vector<MediaClip> clips, const AudioFrameFormat& format,
                                   const std::atomic_bool* cancel, const CPauseGate* pause)
{
    return CClipSequence(
        std::move(clips),
        [format, cancel](const MediaClip& clip, MediaError* error) {
            return CClipReader::openAudio(clip, format, cancel, error);
        },
        AVRational{1, format.sampleRateHz}, pause);
}

CClipSequence::CClipSequence(std::vector<MediaClip> clips, ReaderFactory openReader, AVRational timeBase,
                             const CPauseGate* pause)
    : m_clips(std::move(clips)), m_openReader(std::move(openReader)), m_timeBase(timeBase), m_pause(pause)
{
}

int CClipSequence::open()
{
    if (m_reader || m_nextClip >= m_clips.size())
        return 0;
    return openNextClip() ? 0 : AVERROR(EIO);
}

bool CClipSequence::openNextClip()
{
    m_reader = m_openReader(m_clips[m_nextClip++], &m_error);
    m_clipOffsetUnits = m_positionUnits;
    return m_reader != nullptr;
}

QString CClipSequence::currentPath() const
{
    return m_nextClip > 0 ? m_clips[m_nextClip - 1].path : QString();
}

int CClipSequence::readFrame(AVFrame* out)
{
    for (;;) {
        if (!m_reader) {
            if (m_nextClip >= m_clips.size()) {
                m_atEnd = true;
                return AVERROR_EOF;
            }
            if (!openNextClip())
                return AVERROR(EIO);
        }
        const int result = m_reader->readFrame(out);
        if (result == AVERROR_EOF) {
            m_reader.reset();
            continue;
        }
        if (result < 0) {
            m_error = m_reader->error();
            return result;
        }
        out->pts += m_clipOffsetUnits;
        const bool picture = out->nb_samples == 0;
        m_positionUnits = out->pts + (picture ? 1 : out->nb_samples);
        return 0;
    }
}

int CClipSequence::readUntil(double untilSeconds, const std::function<int(Frame)>& take)
{
    while (!m_atEnd && positionSeconds() < untilSeconds) {
        if (m_pause)
            m_pause->pass();
        Frame next{allocFrame(), FrameOrigin::Source, 0.0};
        int result = next.frame ? readFrame(next.frame.get()) : AVERROR(ENOMEM);
        if (result == AVERROR_EOF)
            break;
        if (result < 0)
            return result;
        next.origin = m_reader->lastOrigin();
        next.endSeconds = positionSeconds();
        if ((result = take(std::move(next))) < 0)
            return result;
    }
    return 0;
}
