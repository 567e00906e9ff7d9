#include "EngineLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <mutex>

Q_LOGGING_CATEGORY(lcEngine, "vv.engine", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcFfmpeg, "vv.ffmpeg", QtCriticalMsg)

namespace {

void forwardFfmpegLine(void* context, int level, const char* format, va_list arguments)
{
    if (level > av_log_get_level() || !lcFfmpeg().isWarningEnabled())
        return;
    char line[1024] = {};
    int printPrefix = 1;
    av_log_format_line2(context, level, format, arguments, line, sizeof line, &printPrefix);
    const QByteArray text = QByteArray(line).trimmed();
    if (!text.isEmpty())
        qCWarning(lcFfmpeg, "%s", text.constData());
}

} // namespace

void routeFfmpegLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Damaged input is expected and handled; its complaints are detail for the log.
        av_log_set_level(AV_LOG_WARNING);
        av_log_set_callback(forwardFfmpegLine);
    });
}
