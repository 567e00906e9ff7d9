#include "NamePattern.h"

#include "JobOutput.h"
#include "JobRowText.h"
#include "engine/OutputFormats.h"

#include <QRegularExpression>

#include <array>

namespace {
// Each size comes plain and "High", in the order of the frame size list.
const std::array<const char*, 4> kFrameSizes{"320x240", "640x480", "1280x720", "1920x1080"};

// What Windows, macOS and Linux file systems refuse between them, and control characters.
QString SafeForFileName(QString text)
{
    static const QRegularExpression refused(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f\\x7f]"));
    return text.replace(refused, QStringLiteral("_"));
}

QString PaddedNumber(int number, int rowCount)
{
    const int width = int(QString::number(qMax(rowCount, number)).size());
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

QString TokenValue(const QString& token, const NameFields& fields, const OutputContainer& format)
{
    if (token == QLatin1String("source"))
        return TitleBase(TitleFromPath(fields.sourcePath));
    if (token == QLatin1String("format"))
        return QString::fromLatin1(format.extension).mid(1);
    if (token == QLatin1String("size"))
        return IsVideoFormat(format) ? FrameSizeText(fields.frameSizeIndex) : QString();
    if (token == QLatin1String("date"))
        return fields.date.toString(QStringLiteral("yyyy-MM-dd"));
    if (token == QLatin1String("n"))
        return PaddedNumber(fields.number, fields.rowCount);
    return QLatin1Char('{') + token + QLatin1Char('}');
}
} // namespace

QString ExpandNamePattern(const QString& pattern, const NameFields& fields, const OutputContainer& format)
{
    static const QRegularExpression token(QStringLiteral("\\{([a-z]+)\\}"));
    QString name;
    qsizetype at = 0;
    for (const QRegularExpressionMatch& match : token.globalMatch(pattern)) {
        name += SafeForFileName(pattern.mid(at, match.capturedStart() - at));
        name += match.captured(1) == QLatin1String("title")
                    ? TitleBase(fields.title)
                    : SafeForFileName(TokenValue(match.captured(1), fields, format));
        at = match.capturedEnd();
    }
    return name + SafeForFileName(pattern.mid(at));
}

QString PatternFileName(const QString& pattern, const NameFields& fields, const OutputContainer& format)
{
    return FileNameFromBase(ExpandNamePattern(pattern, fields, format), format);
}

QString FrameSizeText(int frameSizeIndex)
{
    if (frameSizeIndex < 0 || frameSizeIndex >= int(2 * kFrameSizes.size()))
        return QString();
    return QString::fromLatin1(kFrameSizes[frameSizeIndex / 2]);
}

QString ResolveExistingOutput(const QString& path, IfOutputExists rule,
                              const std::function<bool(const QString&)>& isTaken)
{
    if (rule == IfOutputExists::Replace || !isTaken(path))
        return path;
    if (rule == IfOutputExists::Skip)
        return QString();
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension =
        dot > path.lastIndexOf(QLatin1Char('/')) && dot > path.lastIndexOf(QLatin1Char('\\'));
    const QString stem = hasExtension ? path.left(dot) : path;
    const QString suffix = hasExtension ? path.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString numbered = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix);
        if (!isTaken(numbered))
            return numbered;
    }
}
