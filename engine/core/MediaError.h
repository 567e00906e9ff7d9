// Why a probe, a check or a write failed: the stage, the detail (FFmpeg's text or the
// rule that refused) and the file concerned. Kept by the engine for the window and
// logged, so a failed job can say why.
#pragma once

#include <QString>

enum class MediaStage
{
    None,
    Check, // SaveFile refused before anything was read
    Open,
    Probe,
    Decode,
    Filter,
    Encode,
    Write,
    Rename,
};

// "check", "open", ... "rename"; empty for None.
QString stageName(MediaStage stage);

struct MediaError
{
    MediaStage stage = MediaStage::None;
    QString detail;
    QString file;

    bool isSet() const { return stage != MediaStage::None; }
    // "decode: Invalid data found when processing input (clip.mpg)"
    QString text() const;
};

MediaError mediaError(MediaStage stage, const QString& detail, const QString& file = QString());
// FFmpeg's text for an error code as the detail.
MediaError mediaError(MediaStage stage, int avError, const QString& file = QString());

// FFmpeg's text for an error code, for messages.
QString avErrorText(int error);
