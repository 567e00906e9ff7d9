#include "JobRowText.h"

#include <QDir>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace {
bool IsCSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

bool IsAsciiDigit(const QString& text, int i)
{
    return i < text.size() && text[i].unicode() >= '0' && text[i].unicode() <= '9';
}

int SkipDigits(const QString& text, int i)
{
    while (IsAsciiDigit(text, i))
        ++i;
    return i;
}

int SkipSpace(const QString& text, int i)
{
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    return i;
}

int SkipSign(const QString& text, int i)
{
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    return i;
}

bool IsMinus(const QString& text, int i)
{
    return i < text.size() && text[i] == QLatin1Char('-');
}
} // namespace

int ParseLeadingInteger(const QString& text)
{
    const int signAt = SkipSpace(text, 0);
    const int digitsStart = SkipSign(text, signAt);
    const int digitsEnd = SkipDigits(text, digitsStart);
    constexpr qint64 kLimit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (int i = digitsStart; i < digitsEnd && magnitude <= kLimit; ++i)
        magnitude = magnitude * 10 + (text[i].unicode() - '0');
    const qint64 value = IsMinus(text, signAt) ? -magnitude : magnitude;
    constexpr qint64 kMin = std::numeric_limits<int>::min();
    constexpr qint64 kMax = std::numeric_limits<int>::max();
    return int(std::clamp(value, kMin, kMax));
}

double ParseLeadingDecimal(const QString& text)
{
    const int signAt = SkipSpace(text, 0);
    const int integerStart = SkipSign(text, signAt);
    const int integerEnd = SkipDigits(text, integerStart);
    int fractionStart = integerEnd;
    int fractionEnd = integerEnd;
    if (integerEnd < text.size() && text[integerEnd] == QLatin1Char('.')) {
        fractionStart = integerEnd + 1;
        fractionEnd = SkipDigits(text, fractionStart);
    }
    if (integerEnd == integerStart && fractionEnd == fractionStart)
        return 0.0;

    // Rebuilt in one canonical spelling, so no locale and no unusual form can change it.
    QString number = IsMinus(text, signAt) ? QStringLiteral("-") : QString();
    number +=
        integerEnd > integerStart ? text.mid(integerStart, integerEnd - integerStart) : QStringLiteral("0");
    if (fractionEnd > fractionStart)
        number += QLatin1Char('.') + text.mid(fractionStart, fractionEnd - fractionStart);
    const bool hasExponentMark = fractionEnd < text.size() && (text[fractionEnd] == QLatin1Char('e') ||
                                                               text[fractionEnd] == QLatin1Char('E'));
    if (hasExponentMark) {
        const int exponentStart = SkipSign(text, fractionEnd + 1);
        const int exponentEnd = SkipDigits(text, exponentStart);
        if (exponentEnd > exponentStart)
            number += QLatin1Char('e') + text.mid(fractionEnd + 1, exponentEnd - fractionEnd - 1);
    }
    return QLocale::c().toDouble(number);
}

QString FormatEndSeconds(double lengthSeconds)
{
    if (lengthSeconds == 0.0)
        return QStringLiteral("1");
    return QString::asprintf("%0.2f", lengthSeconds);
}

ClipSpan ConversionSpan(const QString& startText, const QString& endText)
{
    return ClipSpan{double(ParseLeadingInteger(startText)), ParseLeadingDecimal(endText)};
}

QString TitleFromPath(const QString& path)
{
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    return path.mid(cut + 1);
}

TitleSplit SplitTitle(const QString& title)
{
    const int dot = title.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {QString(), title};
    return {title.left(dot), title.mid(dot)};
}
