#include "CClipSequence.h"

CClipSequence CClipSequence::pictures(std::vector<MediaClip> clips, const VideoFrameFormat& format,
                                      const std::atomic_bool* cancel)
{
    return CClipSequence(
        std::move(clips),
        [format, cancel](const MediaClip& clip) { return CClipReader::openVideo(clip, format, cancel); },
        av_inv_q(format.frameRate));
}

CClipSequence CClipSequence::sound(std::vector<MediaClip> clips, const AudioFrameFormat& format,
                                   const std::atomic_bool* cancel)
{
    return CClipSequence(
        std::move(clips),
        [format, cancel](const MediaClip& clip) { return CClipReader::openAudio(clip, format, cancel); },
        AVRational{1, format.sampleRateHz});
}

CClipSequence::CClipSequence(std::vector<MediaClip> clips, ReaderFactory openReader, AVRational timeBase)
    : m_clips(std::move(clips)), m_openReader(std::move(openReader)), m_timeBase(timeBase)
{
}

int CClipSequence::readFrame(AVFrame* out)
{
    for (;;) {
        if (!m_reader) {
            if (m_nextClip >= m_clips.size()) {
                m_atEnd = true;
                return AVERROR_EOF;
            }
            m_reader = m_openReader(m_clips[m_nextClip++]);
            if (!m_reader)
                return AVERROR(EIO);
            m_clipOffsetUnits = m_positionUnits;
        }
        const int result = m_reader->readFrame(out);
        if (result == AVERROR_EOF) {
            m_reader.reset();
            continue;
        }
        if (result < 0)
            return result;
        out->pts += m_clipOffsetUnits;
        const bool picture = out->nb_samples == 0;
        m_positionUnits = out->pts + (picture ? 1 : out->nb_samples);
        return 0;
    }
}
