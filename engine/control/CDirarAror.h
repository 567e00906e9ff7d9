// The video engine control (control 1010 of the main window). Its window is the
// preview area; behind it sits the media core that probes, converts and plays.
#pragma once

#include "engine/IVideoEngine.h"

#include <QWidget>

#include <memory>

class CMediaEngine;
class CPreviewPlayer;
class QPainter;

class CDirarAror : public QWidget, public IVideoEngine
{
    Q_OBJECT
public:
    explicit CDirarAror(QWidget* parent = nullptr);
    ~CDirarAror() override;

    void SetAudioFormat(short code) override;
    void SetOutputMode(long mode) override;
    void SetProfileFile(const QString& path) override;
    void SetClipOption(long option) override;
    bool SetVideoQuality(long mode, double value) override;
    bool SaveFile(const QString& outputPath) override;
    double GetDuration(const QString& path) override;
    bool AddVideoClip(const QString& path, double startSeconds, double endSeconds, short stretch) override;
    bool AddAudioClip(const QString& path, double startSeconds, double endSeconds) override;
    void ClearClips() override;
    bool Play() override;
    void Pause() override;
    void Resume() override;
    void Stop() override;
    void SetWritePaused(bool paused) override;
    QString WriteTempPath() const override;
    void SetEventSink(IVideoEngineEvents* sink) override { m_sink = sink; }
    bool LastWriteFailed() const override;
    QString LastErrorText() const override;
    bool IsSameFile(const QString& a, const QString& b) const override;
    QWidget* ControlWindow() override { return this; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintIdle(QPainter& painter);
    void paintHint(QPainter& painter, const QColor& color);
    void showHint(const QString& hint);

    std::unique_ptr<CMediaEngine> m_engine;
    CPreviewPlayer* m_player; // child object
    IVideoEngineEvents* m_sink = nullptr;
    QString m_hint; // why the preview cannot play, shown in the idle area
};
