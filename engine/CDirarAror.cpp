#include "CDirarAror.h"

#include "CMediaEngine.h"
#include "MediaInput.h"
#include "res/resource.h"

#include <QPainter>

namespace {
QColor fromColorRef(unsigned colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}
} // namespace

CDirarAror::CDirarAror(QWidget* parent) : QWidget(parent), m_engine(std::make_unique<CMediaEngine>())
{
    connect(m_engine.get(), &CMediaEngine::finished, this, &CDirarAror::Finished);
    connect(m_engine.get(), &CMediaEngine::progress, this, &CDirarAror::Progress);
}

CDirarAror::~CDirarAror() = default;

void CDirarAror::SetAudioFormat(short code)
{
    m_engine->setAudioFormat(code);
}

void CDirarAror::SetOutputMode(long mode)
{
    m_engine->setOutputMode(mode);
}

void CDirarAror::SetProfileFile(const QString& path)
{
    m_engine->setProfileFile(path);
}

void CDirarAror::SetClipOption(long option)
{
    m_engine->setClipOption(option);
}

bool CDirarAror::SaveFile(const QString& outputPath)
{
    return m_engine->saveFile(outputPath);
}

double CDirarAror::GetDuration(const QString& path)
{
    return probeDurationSeconds(path);
}

bool CDirarAror::AddVideoClip(const QString& path, double startSeconds, double endSeconds, short stretch)
{
    return m_engine->addVideoClip(path, startSeconds, endSeconds, stretch);
}

bool CDirarAror::AddAudioClip(const QString& path, double startSeconds, double endSeconds)
{
    return m_engine->addAudioClip(path, startSeconds, endSeconds);
}

void CDirarAror::ClearClips()
{
    m_engine->clearClips();
}

// Preview playback comes with the preview player; until then nothing plays.
bool CDirarAror::Play()
{
    return false;
}

void CDirarAror::Pause() {}

void CDirarAror::Resume() {}

void CDirarAror::Stop()
{
    m_engine->stop();
}

bool CDirarAror::LastWriteFailed() const
{
    return m_engine->lastWriteFailed();
}

void CDirarAror::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), fromColorRef(CLR_PREVIEW_BACKGROUND));
}
