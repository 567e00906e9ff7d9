#include "CClipSequence.h"

#include "CDataCoverage.h"

CClipSequence CClipSequence::pictures(std::vector<MediaClip> clips, const VideoFrameFormat& format,
                                      const std::atomic_bool* cancel, CDataCoverage* coverage)
{
    return CClipSequence(
        std::move(clips),
        [format, cancel](const MediaClip& clip, MediaError* error) {
            return CClipReader::openVideo(clip, format, cancel, error);
        },
        av_inv_q(format.frameRate), coverage);
}

CClipSequence CClipSequence::sound(std::vector<MediaClip> clips, const AudioFrameFormat& format,
                                   const std::atomic_bool* cancel, CDataCoverage* coverage)
{
    return CClipSequence(
        std::move(clips),
        [format, cancel](const MediaClip& clip, MediaError* error) {
            return CClipReader::openAudio(clip, format, cancel, error);
        },
        AVRational{1, format.sampleRateHz}, coverage);
}

CClipSequence::CClipSequence(std::vector<MediaClip> clips, ReaderFactory openReader, AVRational timeBase,
                             CDataCoverage* coverage)
    : m_clips(std::move(clips)), m_openReader(std::move(openReader)), m_timeBase(timeBase),
      m_coverage(coverage)
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
            m_reader = m_openReader(m_clips[m_nextClip++], &m_error);
            if (!m_reader)
                return AVERROR(EIO);
            m_clipOffsetUnits = m_positionUnits;
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
        return account(*m_reader);
    }
}

// Without a coverage the taker of the frames accounts for them (see lastOrigin()).
int CClipSequence::account(const CClipReader& reader)
{
    m_lastOrigin = reader.lastOrigin();
    if (!m_coverage || m_coverage->admit(m_lastOrigin, positionSeconds()))
        return 0;
    m_error = m_coverage->shortfall(m_clips[m_nextClip - 1].path);
    return AVERROR_INVALIDDATA;
}
