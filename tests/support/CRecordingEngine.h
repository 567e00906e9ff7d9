// A stand-in for the video engine that records every call as text, e.g.
// "AddVideoClip(/v/a.mpg,12,40.5,0)", and answers with scripted results.
#pragma once

#include "engine/IVideoEngine.h"
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

#include <memory>

class CRecordingEngine : public IVideoEngine
{
public:
    QStringList calls;
    QHash<QString, double> durations; // GetDuration answers by path; 0.0 otherwise
    bool saveResult = true;
    bool lastWriteFailed = false;
    QString lastErrorText;
    QString writeTempPath;

    void SetAudioFormat(short code) override { Record("SetAudioFormat", {QString::number(code)}); }
    void SetOutputMode(long mode) override { Record("SetOutputMode", {QString::number(mode)}); }
    void SetProfileFile(const QString& path) override { Record("SetProfileFile", {path}); }
    void SetClipOption(long option) override { Record("SetClipOption", {QString::number(option)}); }
    bool SetVideoQuality(long mode, double value) override
    {
        Record("SetVideoQuality", {QString::number(mode), Number(value)});
        return true;
    }
    bool SaveFile(const QString& outputPath) override
    {
        Record("SaveFile", {outputPath});
        return saveResult;
    }
    double GetDuration(const QString& path) override
    {
        Record("GetDuration", {path});
        return durations.value(path, 0.0);
    }
    bool AddVideoClip(const QString& path, double startSeconds, double endSeconds, short stretch) override
    {
        Record("AddVideoClip", {path, Number(startSeconds), Number(endSeconds), QString::number(stretch)});
        return true;
    }
    bool AddAudioClip(const QString& path, double startSeconds, double endSeconds) override
    {
        Record("AddAudioClip", {path, Number(startSeconds), Number(endSeconds)});
        return true;
    }
    void ClearClips() override { Record("ClearClips", {}); }
    bool Play() override
    {
        Record("Play", {});
        return true;
    }
    void Pause() override { Record("Pause", {}); }
    void Resume() override { Record("Resume", {}); }
    void Stop() override { Record("Stop", {}); }
    void SetWritePaused(bool paused) override { Record("SetWritePaused", {QString::number(paused)}); }
    QString WriteTempPath() const override { return writeTempPath; }
    void SetEventSink(IVideoEngineEvents* sink) override { m_sink = sink; }
    bool LastWriteFailed() const override { return lastWriteFailed; }
    QString LastErrorText() const override { return lastErrorText; }
    // By path alone; links are the real engine's to follow.
    bool IsSameFile(const QString& a, const QString& b) const override
    {
        return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
    }
    // Made when first asked for, so that programs without widgets can drive the engine.
    QWidget* ControlWindow() override
    {
        if (!m_window)
            m_window = std::make_unique<QWidget>();
        return m_window.get();
    }

    // The engine's events, as the real control sends them.
    void EmitFinished() { m_sink->OnEngineFinished(); }
    void EmitProgress(double position, double total) { m_sink->OnEngineProgress(position, total); }

    // The calls that hand a clip to the engine, with its start and end as "start,end".
    static QStringList ClipCalls(const QString& path, const QString& times, int stretch = 0)
    {
        return {QStringLiteral("AddVideoClip(%1,%2,%3)").arg(path, times).arg(stretch),
                QStringLiteral("AddAudioClip(%1,%2)").arg(path, times)};
    }
    // Calls whose text starts with prefix, in order.
    QStringList CallsStartingWith(const QString& prefix) const
    {
        return calls.filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
    }

private:
    IVideoEngineEvents* m_sink = nullptr;
    std::unique_ptr<QWidget> m_window;

    static QString Number(double value) { return QString::number(value, 'g', 10); }
    void Record(const char* name, const QStringList& args)
    {
        calls << QStringLiteral("%1(%2)").arg(QLatin1String(name), args.join(QLatin1Char(',')));
    }
};
