// The media core's logging: "vv.engine" for its own events (a warning for each
// failure, debug output for each write's plan) and "vv.ffmpeg" for FFmpeg's log.
// Both are quiet unless QT_LOGGING_RULES turns them on, e.g. "vv.*=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcFfmpeg)

// Sends FFmpeg's log to "vv.ffmpeg"; idempotent.
void routeFfmpegLog();
