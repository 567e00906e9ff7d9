#include "CDirarAror.h"

#include "CPreviewPlayer.h"
#include "engine/CMediaEngine.h"
#include "engine/MediaInput.h"
#include "engine/MediaPaths.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
constexpr int kMinPictureSidePx = 2;
constexpr int kMinHintSidePx = 16;
constexpr int kHintTextLightening = 250; // percent: the mark's faint grey is too dim for words
} // namespace

CDirarAror::CDirarAror(QWidget* parent)
    : QWidget(parent), m_engine(std::make_unique<CMediaEngine>()), m_player(new CPreviewPlayer(this))
{
    connect(m_player, &CPreviewPlayer::pictureChanged, this, qOverload<>(&QWidget::update));
    connect(m_player, &CPreviewPlayer::cannotPlay, this,
            [this](const QString& reason) { showHint(QStringLiteral("This file cannot be played: ") + reason); });
    connect(m_engine.get(), &CMediaEngine::finished, this, [this] {
        if (m_sink)
            m_sink->OnEngineFinished();
    });
    connect(m_engine.get(), &CMediaEngine::progress, this, [this](double position, double total) {
        if (m_sink)
            m_sink->OnEngineProgress(position, total);
    });
}

CDirarAror::~CDirarAror() = default;

void CDirarAror::SetAudioFormat(short code)
{
    m_engine->setAudioFormat(code);
}

void CDirarAror::SetProfileFile(const QString& path)
{
    m_engine->setProfileFile(path);
}

// Windows Media is the only output mode and clips take no options: nothing to keep.
void CDirarAror::SetOutputMode(long) {}

void CDirarAror::SetClipOption(long) {}

bool CDirarAror::SetVideoQuality(long mode, double value)
{
    const std::optional<VideoQuality> quality = videoQualityFor(mode, value);
    if (quality)
        m_engine->setVideoQuality(*quality);
    return quality.has_value();
}

bool CDirarAror::SaveFile(const QString& outputPath)
{
    return m_engine->saveFile(outputPath);
}

double CDirarAror::GetDuration(const QString& path)
{
    return m_engine->durationSeconds(path);
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

bool CDirarAror::Play()
{
    showHint(QString());
    return m_player->play(m_engine->clips(), size().expandedTo(QSize(kMinPictureSidePx, kMinPictureSidePx)),
                          m_engine->inspector());
}

void CDirarAror::Pause()
{
    m_player->pause();
}

void CDirarAror::Resume()
{
    m_player->resume();
}

// Preview and writing are separate pipelines; Stop ends both.
void CDirarAror::Stop()
{
    m_engine->stop();
    m_player->stop();
    showHint(QString());
}

void CDirarAror::SetWritePaused(bool paused)
{
    m_engine->setWritePaused(paused);
}

QString CDirarAror::WriteTempPath() const
{
    return m_engine->writeTempPath();
}

void CDirarAror::showHint(const QString& hint)
{
    m_hint = hint;
    setToolTip(hint);
    update();
}

bool CDirarAror::LastWriteFailed() const
{
    return m_engine->lastWriteFailed();
}

QString CDirarAror::LastErrorText() const
{
    return m_engine->lastError().text();
}

bool CDirarAror::IsSameFile(const QString& a, const QString& b) const
{
    return isSameFile(a, b);
}

void CDirarAror::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& picture = m_player->picture();
    if (picture.isNull())
        paintIdle(painter);
    else
        painter.drawImage(rect(), picture);
}

// The palette's window colour, with a faint play mark in its text colour in the middle:
// the area is there, nothing plays.
void CDirarAror::paintIdle(QPainter& painter)
{
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QColor hint = palette().color(QPalette::WindowText);
    if (!m_hint.isEmpty()) {
        paintHint(painter, hint);
        return;
    }
    const int sidePx = std::min(width(), height()) / 4;
    if (sidePx < kMinHintSidePx)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF circle(0.0, 0.0, sidePx, sidePx);
    circle.moveCenter(QRectF(rect()).center());
    painter.setPen(QPen(hint, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle);
    const double halfHeight = sidePx / 5.0; // of the triangle, which sits a little right of centre
    QPainterPath triangle;
    triangle.moveTo(circle.center() + QPointF(-halfHeight * 0.7, -halfHeight));
    triangle.lineTo(circle.center() + QPointF(halfHeight * 1.1, 0.0));
    triangle.lineTo(circle.center() + QPointF(-halfHeight * 0.7, halfHeight));
    triangle.closeSubpath();
    painter.fillPath(triangle, hint);
}

// The reason in the play mark's colour, made light enough to read, wrapped to the area.
void CDirarAror::paintHint(QPainter& painter, const QColor& color)
{
    painter.setPen(color.lighter(kHintTextLightening));
    painter.setFont(font());
    const int marginPx = std::max(4, width() / 16);
    painter.drawText(rect().adjusted(marginPx, marginPx, -marginPx, -marginPx),
                     Qt::AlignCenter | Qt::TextWordWrap, m_hint);
}
