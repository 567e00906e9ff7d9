#include "FileNames.h"

#include <QDir>
#include <QUrl>

namespace {

constexpr char16_t kFirstKeptByte = 0xDC80; // kept bytes 0x80..0xFF
constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at bytes[at], or 0 when there is none
// (stray, overlong, surrogate or out-of-range sequences are not well formed).
int SequenceLength(const QByteArray& bytes, int at, char32_t* codePoint)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    int length = 0;
    if (lead < 0x80)
        length = 1;
    else if (lead >= 0xC2 && lead < 0xE0)
        length = 2;
    else if (lead >= 0xE0 && lead < 0xF0)
        length = 3;
    else if (lead >= 0xF0 && lead < 0xF5)
        length = 4;
    if (length == 0 || at + length > bytes.size())
        return 0;
    char32_t value = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if (!IsContinuation(next))
            return 0;
        value = (value << 6) | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kLeast[length] || (value >= 0xD800 && value < 0xE000) || value > 0x10FFFF)
        return 0;
    *codePoint = value;
    return length;
}

bool IsKeptByte(char16_t unit)
{
    return unit >= kFirstKeptByte && unit <= kFirstKeptByte + 0x7F;
}

} // namespace

QString FileNameFromBytes(const QByteArray& bytes)
{
#ifdef _WIN32
    return QString::fromUtf8(bytes);
#else
    QString name;
    name.reserve(bytes.size());
    for (int at = 0; at < bytes.size();) {
        char32_t codePoint = 0;
        const int length = SequenceLength(bytes, at, &codePoint);
        if (length > 0) {
            name += QString::fromUcs4(&codePoint, 1);
            at += length;
        } else {
            name += QChar(char16_t(kFirstKeptByte - 0x80 + static_cast<unsigned char>(bytes[at])));
            ++at;
        }
    }
    return name;
#endif
}

QByteArray FileNameToBytes(const QString& name)
{
#ifdef _WIN32
    return name.toUtf8();
#else
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0; // of the plain text since the last kept byte
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !IsKeptByte(name[i].unicode()))
            continue;
        bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
        if (i < name.size())
            bytes += char(name[i].unicode() - kFirstKeptByte + 0x80);
        runStart = i + 1;
    }
    return bytes;
#endif
}

std::filesystem::path NativePath(const QString& name)
{
#ifdef _WIN32
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(FileNameToBytes(name).toStdString());
#endif
}

QString FileNameFromNative(const std::filesystem::path& path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return FileNameFromBytes(QByteArray::fromStdString(path.native()));
#endif
}

QStringList ArgumentsKeptWhole(int argc, char** argv, const QStringList& qtArguments)
{
#ifdef _WIN32
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    return qtArguments.mid(1);
#else
    Q_UNUSED(qtArguments)
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << FileNameFromBytes(QByteArray(argv[i]));
    return arguments;
#endif
}

QString AbsoluteFileName(const QString& name)
{
    if (QDir::isAbsolutePath(name))
        return QDir::cleanPath(name);
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return QDir::cleanPath(FileNameFromNative(here) + QLatin1Char('/') + name);
}

QString FileNameFromUrl(const QUrl& url)
{
#ifdef _WIN32
    return url.toLocalFile();
#else
    // The path as it was sent, so that bytes that are not UTF-8 come through.
    return FileNameFromBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
#endif
}

QString ReadableFileName(const QString& name)
{
    QString readable = name;
    for (QChar& unit : readable) {
        if (IsKeptByte(unit.unicode()))
            unit = QChar(kReplacement);
    }
    return readable;
}

bool HasLostBytes(const QString& name)
{
    return name.contains(QChar(kReplacement));
}

bool FileExists(const QString& name)
{
    std::error_code error;
    return std::filesystem::exists(NativePath(name), error);
}
