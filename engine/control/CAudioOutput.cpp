#include "CAudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

namespace {

// Room for a slow user-interface thread, short enough for a prompt Pause.
constexpr qint64 kDeviceBufferMicroseconds = 200000;
constexpr int kFallbackSampleRateHz = 44100;
constexpr int kMinSampleRateHz = 8000;
constexpr int kMaxSampleRateHz = 192000;

AVSampleFormat packedFormatFor(QAudioFormat::SampleFormat format)
{
    return format == QAudioFormat::Float ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_S16;
}

} // namespace

std::unique_ptr<CAudioOutput> CAudioOutput::open()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    const int preferredRate = device.preferredFormat().sampleRate();
    QAudioFormat format;
    format.setSampleRate(preferredRate >= kMinSampleRateHz && preferredRate <= kMaxSampleRateHz
                             ? preferredRate
                             : kFallbackSampleRateHz);
    format.setChannelCount(device.maximumChannelCount() >= 2 ? 2 : 1); // the decoder makes mono or stereo
    for (const QAudioFormat::SampleFormat sampleFormat : {QAudioFormat::Float, QAudioFormat::Int16}) {
        format.setSampleFormat(sampleFormat);
        if (!device.isFormatSupported(format))
            continue;
        auto sink = std::make_unique<QAudioSink>(device, format);
        sink->setBufferSize(format.bytesForDuration(kDeviceBufferMicroseconds));
        QIODevice* input = sink->start(); // null when the device cannot play after all
        if (!input)
            return nullptr;
        const AudioFrameFormat frameFormat{format.sampleRate(), format.channelCount()};
        return std::unique_ptr<CAudioOutput>(
            new CAudioOutput(std::move(sink), input, frameFormat, packedFormatFor(sampleFormat)));
    }
    return nullptr;
}

CAudioOutput::CAudioOutput(std::unique_ptr<QAudioSink> sink, QIODevice* device, AudioFrameFormat frameFormat,
                           AVSampleFormat sampleFormat)
    : m_sink(std::move(sink)), m_device(device), m_frameFormat(frameFormat), m_sampleFormat(sampleFormat)
{
}

CAudioOutput::~CAudioOutput()
{
    m_sink->stop();
}

int CAudioOutput::bytesPerFrame() const
{
    return m_frameFormat.channels * av_get_bytes_per_sample(m_sampleFormat);
}

bool CAudioOutput::takePending(CFrameQueue& sound)
{
    if (!m_pending) {
        if (std::optional<QueuedFrame> item = sound.tryPop()) {
            m_pending = std::move(item->frame);
            m_pendingOffsetBytes = 0;
        }
    }
    return m_pending != nullptr;
}

bool CAudioOutput::isPrimed(CFrameQueue& sound)
{
    return takePending(sound) || sound.isFinished();
}

void CAudioOutput::feed(CFrameQueue& sound)
{
    const int frameBytes = bytesPerFrame();
    qint64 room = m_sink->bytesFree() / frameBytes * frameBytes;
    while (room > 0 && takePending(sound)) {
        const qint64 size = qint64(m_pending->nb_samples) * frameBytes;
        const char* data = reinterpret_cast<const char*>(m_pending->data[0]) + m_pendingOffsetBytes;
        const qint64 written = m_device->write(data, std::min(room, size - m_pendingOffsetBytes));
        if (written <= 0)
            return;
        m_pendingOffsetBytes += written;
        m_writtenBytes += written;
        room -= written;
        if (m_pendingOffsetBytes >= size)
            m_pending.reset();
    }
}

bool CAudioOutput::isAllWritten(const CFrameQueue& sound) const
{
    return !m_pending && sound.isFinished();
}

double CAudioOutput::writtenSeconds() const
{
    return double(m_writtenBytes) / bytesPerFrame() / m_frameFormat.sampleRateHz;
}

// The device's own clock: smooth, and still while the device starves or is
// suspended. Never ahead of what it was given.
double CAudioOutput::playedSeconds() const
{
    return std::min(m_sink->processedUSecs() / 1e6, writtenSeconds());
}

void CAudioOutput::suspend()
{
    m_sink->suspend();
}

void CAudioOutput::resume()
{
    m_sink->resume();
}

bool CAudioOutput::hasFailed() const
{
    const QAudio::Error error = m_sink->error();
    return error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError;
}
