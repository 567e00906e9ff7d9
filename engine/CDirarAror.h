// The video engine control (control 1010 of the main window). Its window is the
// preview area; behind it sits the media core that probes, converts and plays.
// Every operation is virtual so that tests can stand a recording fake in its place.
#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class CMediaEngine;

// The values the program gives SetOutputMode and SetClipOption.
constexpr long kWindowsMediaOutputMode = 9;
constexpr long kDefaultClipOption = 0;
class CPreviewPlayer;
class QPainter;

class CDirarAror : public QWidget
{
    Q_OBJECT
public:
    explicit CDirarAror(QWidget* parent = nullptr);
    ~CDirarAror() override;

    // Output settings, read by the next SaveFile.
    virtual void SetAudioFormat(short code);          // 15..21: the seven audio bit rates
    virtual void SetOutputMode(long mode);            // 9: Windows Media output
    virtual void SetProfileFile(const QString& path); // ".prx" profile, or "" for audio only
    virtual void SetClipOption(long option);          // 0

    // Starts writing the clip list to outputPath in the background. False when the
    // write cannot start; true means one Finished() (or a failed write, see
    // LastWriteFailed) follows unless Stop() or another SaveFile() comes first.
    virtual bool SaveFile(const QString& outputPath);

    // Length of a media file in seconds; 0.0 when it cannot be read.
    virtual double GetDuration(const QString& path);

    // Clip list shared by writing and preview.
    virtual bool AddVideoClip(const QString& path, double startSeconds, double endSeconds, short stretch);
    virtual bool AddAudioClip(const QString& path, double startSeconds, double endSeconds);
    virtual void ClearClips();

    // Preview playback in this widget's area.
    virtual bool Play();
    virtual void Pause();
    virtual void Resume();

    // Ends playback and writing at once; a stopped write is discarded.
    virtual void Stop();

    // True when the write that the last Finished() belongs to failed part-way
    // (read error, disk full): the output was discarded, nothing was written.
    virtual bool LastWriteFailed() const;
    // Why the last SaveFile refused or the last write failed ("decode: ... (clip.mpg)");
    // empty after a write that succeeded.
    virtual QString LastErrorText() const;

signals:
    void Finished();
    void Progress(double position, double total);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintIdle(QPainter& painter);

    std::unique_ptr<CMediaEngine> m_engine;
    CPreviewPlayer* m_player; // child object
};
