// What the main window asks of the video engine, and the two events it hears back.
// The control hosted as 1010 implements it; tests stand a recording fake in its
// place, so the window never depends on the media core itself.
#pragma once

#include <QString>

class QWidget;

// Receives the engine's events, always on the user-interface thread and never from
// inside a call into the engine.
class IVideoEngineEvents
{
public:
    // A write started by SaveFile has ended (see IVideoEngine::LastWriteFailed).
    virtual void OnEngineFinished() = 0;
    // Seconds of the output written so far, of total.
    virtual void OnEngineProgress(double position, double total) = 0;

protected:
    ~IVideoEngineEvents() = default;
};

// The values the program gives SetOutputMode and SetClipOption.
constexpr long kWindowsMediaOutputMode = 9;
constexpr long kDefaultClipOption = 0;

class IVideoEngine
{
public:
    virtual ~IVideoEngine() = default;

    // Output settings, read by the next SaveFile.
    virtual void SetAudioFormat(short code) = 0;          // 15..21: the seven audio bit rates
    virtual void SetOutputMode(long mode) = 0;            // 9: Windows Media output
    virtual void SetProfileFile(const QString& path) = 0; // ".prx" profile, or "" for audio only
    virtual void SetClipOption(long option) = 0;          // 0
    // How the next SaveFile spends the picture's bits: mode 0 at the profile's rate (as
    // when this is not called), 1 at constant quality level value (0 Best to 3 Small), 2 to
    // fill value megabytes. Only that SaveFile reads it. False for a mode or value outside these.
    virtual bool SetVideoQuality(long mode, double value) = 0;

    // Starts writing the clip list to outputPath in the background. False when the
    // write cannot start; true means one Finished event follows unless Stop() or
    // another SaveFile() comes first.
    virtual bool SaveFile(const QString& outputPath) = 0;

    // Length of a media file in seconds, as far as its data goes; 0.0 when it cannot be read.
    virtual double GetDuration(const QString& path) = 0;

    // Clip list shared by writing and preview.
    virtual bool AddVideoClip(const QString& path, double startSeconds, double endSeconds, short stretch) = 0;
    virtual bool AddAudioClip(const QString& path, double startSeconds, double endSeconds) = 0;
    virtual void ClearClips() = 0;

    // Preview playback in the control's window.
    virtual bool Play() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;

    // Ends playback and writing at once; a stopped write is discarded.
    virtual void Stop() = 0;
    // Holds the write in progress where it stands, its file kept, or lets it go on as if it
    // had never stopped. A write started later starts unpaused.
    virtual void SetWritePaused(bool paused) = 0;
    // The temporary file that the last write SaveFile started goes to until it is renamed
    // or removed; empty before the first. A saved job list names it, so that only this
    // file is cleared away after a crash.
    virtual QString WriteTempPath() const = 0;

    // Where the events go; null for nowhere.
    virtual void SetEventSink(IVideoEngineEvents* sink) = 0;

    // True when the write that the last Finished belongs to failed part-way (read
    // error, source ended early, disk full): the output was discarded.
    virtual bool LastWriteFailed() const = 0;
    // Why the last SaveFile refused or the last write failed ("decode: ... (clip.mpg)");
    // empty after a write that succeeded.
    virtual QString LastErrorText() const = 0;
    // True when both paths name the same existing file (links included): an output
    // must never replace a file in use.
    virtual bool IsSameFile(const QString& a, const QString& b) const = 0;

    // The control's window, placed in the main window as control 1010.
    virtual QWidget* ControlWindow() = 0;
};
