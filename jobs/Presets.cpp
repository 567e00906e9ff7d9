#include "Presets.h"

#include "engine/OutputFormats.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUrl>

#include <cmath>

namespace {
constexpr int kPresetVersion = 1;
constexpr int kLongestName = 100;
constexpr qint64 kLargestFileBytes = 64 * 1024; // a preset is a few hundred bytes

struct IntField
{
    const char* key;
    int count; // the values are 0 .. count - 1
    int OutputChoices::*member;
};

const IntField kChoiceFields[] = {
    {"format", 0, &OutputChoices::formatIndex}, // its count is the format table's
    {"frameSize", kFrameSizeCount, &OutputChoices::frameSizeIndex},
    {"stretchMode", kStretchModeCount, &OutputChoices::stretchMode},
    {"audioBitrate", kAudioCodeCount, &OutputChoices::bitrateIndex},
};

int CountOf(const IntField& field)
{
    return field.count ? field.count : int(outputContainers().size());
}

Preset BuiltIn(const char* name, OutputChoices choices, QualityMode mode = QualityMode::ProfileBitrate)
{
    Preset preset{QString::fromUtf8(name), choices, VideoQuality{}, QString(), true};
    if (mode == QualityMode::ConstantQuality)
        preset.quality = *videoQualityFor(long(mode), double(QualityLevel::Small));
    return preset;
}

// A number that must be a whole one in 0 .. count - 1; the error names the field.
std::optional<int> ReadIndex(const QJsonObject& object, const QString& key, int count, QString* error)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) {
        *error = QStringLiteral("the field \"%1\" is missing").arg(key);
        return std::nullopt;
    }
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != std::floor(number) || number < 0 || number >= count) {
        *error = QStringLiteral("the field \"%1\" is out of range (0 to %2)").arg(key).arg(count - 1);
        return std::nullopt;
    }
    return int(number);
}

std::optional<VideoQuality> ReadQuality(const QJsonObject& object, QString* error)
{
    const std::optional<int> mode = ReadIndex(object, QStringLiteral("qualityMode"), 3, error);
    if (!mode)
        return std::nullopt;
    if (*mode == int(QualityMode::ProfileBitrate))
        return VideoQuality{};
    const bool target = *mode == int(QualityMode::TargetSize);
    const QString key = target ? QStringLiteral("targetMegabytes") : QStringLiteral("qualityLevel");
    const std::optional<VideoQuality> quality = videoQualityFor(*mode, object.value(key).toDouble(-1));
    if (!quality)
        *error = target ? QStringLiteral("the field \"%1\" is out of range (%2 to %3)")
                              .arg(key)
                              .arg(kMinTargetMegabytes)
                              .arg(kMaxTargetMegabytes)
                        : QStringLiteral("the field \"%1\" is out of range (0 to 3)").arg(key);
    return quality;
}

std::optional<QString> ReadName(const QJsonObject& object, QString* error)
{
    const QString name = object.value(QStringLiteral("name")).toString().trimmed();
    if (name.isEmpty() || name.size() > kLongestName) {
        *error = QStringLiteral("the field \"name\" must be a text of 1 to %1 characters").arg(kLongestName);
        return std::nullopt;
    }
    return name;
}

QString PresetPath(const QString& name)
{
    return PresetFolder() + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(name)) +
           QStringLiteral(".json");
}

QString WriteFile(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return QString();
}

PresetResult ReadPresetFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString())};
    if (file.size() > kLargestFileBytes)
        return {std::nullopt,
                QStringLiteral("%1: too large for a preset").arg(QDir::toNativeSeparators(path))};
    PresetResult result = PresetFromJson(file.readAll());
    if (!result.preset)
        result.error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + result.error;
    return result;
}

bool IsBuiltInName(const QString& name)
{
    for (const Preset& preset : BuiltInPresets()) {
        if (preset.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
} // namespace

const QList<Preset>& BuiltInPresets()
{
    // Format, frame size, stretch and bit rate as list positions: MP4 2, WebM 3, MP3 4;
    // 1280x720 4; keeping the aspect ratio 2; 128kbps 6.
    static const QList<Preset> presets{
        BuiltIn("Phone to share (MP4 720p)", {2, 4, 2, 0}),
        BuiltIn("Small for e-mail (MP4 320x240, Small)", {2, 0, 2, 0}, QualityMode::ConstantQuality),
        BuiltIn("Web (WebM 720p)", {3, 4, 2, 0}),
        BuiltIn("Old players (WMV 640x480)", {0, 2, 2, 0}),
        BuiltIn("Sound only (MP3 128 kbps)", {4, 0, 0, 6}),
    };
    return presets;
}

QByteArray PresetToJson(const Preset& preset)
{
    QJsonObject object{{QStringLiteral("version"), kPresetVersion},
                       {QStringLiteral("name"), preset.name},
                       {QStringLiteral("qualityMode"), int(preset.quality.mode)}};
    for (const IntField& field : kChoiceFields)
        object.insert(QLatin1String(field.key), preset.choices.*field.member);
    if (preset.quality.mode == QualityMode::ConstantQuality)
        object.insert(QStringLiteral("qualityLevel"), int(preset.quality.level));
    if (preset.quality.mode == QualityMode::TargetSize)
        object.insert(QStringLiteral("targetMegabytes"), preset.quality.targetMegabytes);
    if (!preset.outputFolder.isEmpty())
        object.insert(QStringLiteral("outputFolder"), preset.outputFolder);
    return QJsonDocument(object).toJson();
}

PresetResult PresetFromJson(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject())
        return {std::nullopt, QStringLiteral("not a preset: %1").arg(parseError.errorString())};
    const QJsonObject object = document.object();
    const QJsonValue version = object.value(QStringLiteral("version"));
    if (version.toDouble(-1) != kPresetVersion)
        return {std::nullopt, QStringLiteral("the field \"version\" is %1, and this program reads version %2")
                                  .arg(version.isDouble() ? QString::number(version.toDouble())
                                                          : QStringLiteral("not a number"))
                                  .arg(kPresetVersion)};
    QString error;
    Preset preset;
    for (const IntField& field : kChoiceFields) {
        const std::optional<int> index = ReadIndex(object, QLatin1String(field.key), CountOf(field), &error);
        if (!index)
            return {std::nullopt, error};
        preset.choices.*field.member = *index;
    }
    const std::optional<QString> name = ReadName(object, &error);
    const std::optional<VideoQuality> quality = name ? ReadQuality(object, &error) : std::nullopt;
    const QJsonValue folder = object.value(QStringLiteral("outputFolder"));
    if (quality && !folder.isUndefined() && !folder.isString())
        error = QStringLiteral("the field \"outputFolder\" must be a text");
    if (!error.isEmpty())
        return {std::nullopt, error};
    preset.name = *name;
    preset.quality = *quality;
    preset.outputFolder = folder.toString();
    return {preset, QString()};
}

QList<Preset> AllPresets()
{
    QList<Preset> presets = BuiltInPresets();
    const QDir folder(PresetFolder());
    for (const QString& file : folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        if (const std::optional<Preset> saved = ReadPresetFile(folder.filePath(file)).preset)
            presets << *saved;
    }
    return presets;
}

std::optional<Preset> FindPreset(const QString& name)
{
    for (const Preset& preset : AllPresets()) {
        if (preset.name.compare(name, Qt::CaseInsensitive) == 0)
            return preset;
    }
    return std::nullopt;
}

PresetResult SavePreset(const Preset& preset)
{
    const QString name = preset.name.trimmed();
    if (IsBuiltInName(name))
        return {std::nullopt, QStringLiteral("\"%1\" is the name of a built-in preset").arg(name)};
    QString error;
    if (!ReadName(QJsonObject{{QStringLiteral("name"), name}}, &error))
        return {std::nullopt, error};
    Preset saved = preset;
    saved.name = name;
    saved.builtIn = false;
    if (!QDir().mkpath(PresetFolder()))
        return {std::nullopt,
                QStringLiteral("%1: cannot be made").arg(QDir::toNativeSeparators(PresetFolder()))};
    error = WriteFile(PresetPath(name), PresetToJson(saved));
    return error.isEmpty() ? PresetResult{saved, QString()} : PresetResult{std::nullopt, error};
}

PresetResult RenamePreset(const QString& oldName, const QString& newName)
{
    const std::optional<Preset> old = FindPreset(oldName);
    if (!old || old->builtIn)
        return {std::nullopt, QStringLiteral("\"%1\" is not a saved preset").arg(oldName)};
    const std::optional<Preset> taken = FindPreset(newName.trimmed());
    if (taken && taken->name.compare(old->name, Qt::CaseInsensitive) != 0)
        return {std::nullopt, QStringLiteral("a preset named \"%1\" exists already").arg(taken->name)};
    Preset renamed = *old;
    renamed.name = newName;
    PresetResult result = SavePreset(renamed);
    if (result.preset && PresetPath(result.preset->name) != PresetPath(old->name))
        QFile::remove(PresetPath(old->name));
    return result;
}

QString DeletePreset(const QString& name)
{
    if (IsBuiltInName(name))
        return QStringLiteral("\"%1\" is a built-in preset").arg(name);
    QFile file(PresetPath(name));
    return file.remove()
               ? QString()
               : QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
}

PresetResult ImportPreset(const QString& path)
{
    const PresetResult read = ReadPresetFile(path);
    return read.preset ? SavePreset(*read.preset) : read;
}

QString ExportPreset(const Preset& preset, const QString& path)
{
    return WriteFile(path, PresetToJson(preset));
}
