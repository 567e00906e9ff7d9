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

// Real data moves the covered time on; padding may not run far past it.
int CClipSequence::account(const CClipReader& reader)
{
    const double endSeconds = positionSeconds();
    switch (reader.lastOrigin()) {
    case FrameOrigin::Source: m_coverage->reach(endSeconds); break;
    case FrameOrigin::StandIn: break;
    case FrameOrigin::Padding:
        if (!m_coverage->mayPad(endSeconds)) {
            m_error = mediaError(MediaStage::Decode,
                                 QStringLiteral("the data ends at %1 s of %2 s planned")
                                     .arg(m_coverage->reached(), 0, 'f', 1)
                                     .arg(m_coverage->plannedSeconds(), 0, 'f', 1),
                                 m_clips[m_nextClip - 1].path);
            return AVERROR_INVALIDDATA;
        }
        break;
    }
    return 0;
}
