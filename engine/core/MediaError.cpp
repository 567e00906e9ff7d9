#include "MediaError.h"

#include "platform/FileNames.h"

extern "C" {
#include <libavutil/error.h>
}

#include <QFileInfo>

QString stageName(MediaStage stage)
{
    switch (stage) {
    case MediaStage::None: break;
    case MediaStage::Check: return QStringLiteral("check");
    case MediaStage::Open: return QStringLiteral("open");
    case MediaStage::Probe: return QStringLiteral("probe");
    case MediaStage::Decode: return QStringLiteral("decode");
    case MediaStage::Filter: return QStringLiteral("filter");
    case MediaStage::Encode: return QStringLiteral("encode");
    case MediaStage::Write: return QStringLiteral("write");
    case MediaStage::Rename: return QStringLiteral("rename");
    }
    return QString();
}

QString MediaError::text() const
{
    if (!isSet())
        return QString();
    QString text = stageName(stage) + QLatin1String(": ") + detail;
    if (!file.isEmpty())
        text += QStringLiteral(" (%1)").arg(ReadableFileName(QFileInfo(file).fileName()));
    return text;
}

MediaError mediaError(MediaStage stage, const QString& detail, const QString& file)
{
    return MediaError{stage, detail, file};
}

MediaError mediaError(MediaStage stage, int avError, const QString& file)
{
    return MediaError{stage, avErrorText(avError), file};
}

QString avErrorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromUtf8(text);
}
