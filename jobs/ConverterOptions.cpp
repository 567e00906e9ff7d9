#include "ConverterOptions.h"

#include "engine/OutputFormats.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QSettings OptionsSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZezuvVelmora"),
                     QStringLiteral("Options"));
}

// The stored number when it is one of count choices, else the fallback.
int Choice(const QSettings& settings, const QString& key, int count, int fallback)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok && value >= 0 && value < count ? value : fallback;
}

} // namespace

ConverterOptions ReadOptions()
{
    const QSettings settings = OptionsSettings();
    ConverterOptions options;
    const int mode = Choice(settings, QStringLiteral("QualityMode"), 3, 0);
    const double value =
        mode == int(QualityMode::TargetSize)
            ? settings.value(QStringLiteral("TargetMegabytes")).toDouble()
            : double(Choice(settings, QStringLiteral("QualityLevel"), 4, int(QualityLevel::Good)));
    if (const std::optional<VideoQuality> quality = videoQualityFor(mode, value))
        options.quality = *quality;
    const QString pattern = settings.value(QStringLiteral("NamePattern")).toString();
    if (!pattern.isEmpty())
        options.namePattern = pattern;
    options.ifExists = IfOutputExists(Choice(settings, QStringLiteral("IfExists"), 3, 0));
    options.whenDone = WhenBatchDone(Choice(settings, QStringLiteral("WhenDone"), 4, 0));
    options.keepJobList = settings.value(QStringLiteral("KeepJobList"), false).toBool();
    options.startWithLastSettings = settings.value(QStringLiteral("StartWithLastSettings"), false).toBool();
    return options;
}

bool StoreOptions(const ConverterOptions& options)
{
    QSettings settings = OptionsSettings();
    settings.setValue(QStringLiteral("QualityMode"), int(options.quality.mode));
    settings.setValue(QStringLiteral("QualityLevel"), int(options.quality.level));
    settings.setValue(QStringLiteral("TargetMegabytes"), options.quality.targetMegabytes);
    settings.setValue(QStringLiteral("NamePattern"), options.namePattern);
    settings.setValue(QStringLiteral("IfExists"), int(options.ifExists));
    settings.setValue(QStringLiteral("WhenDone"), int(options.whenDone));
    settings.setValue(QStringLiteral("KeepJobList"), options.keepJobList);
    settings.setValue(QStringLiteral("StartWithLastSettings"), options.startWithLastSettings);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

LastSettings ReadLastSettings()
{
    const QSettings settings = OptionsSettings();
    LastSettings last;
    last.choices.formatIndex =
        Choice(settings, QStringLiteral("LastFormat"), int(outputContainers().size()), 0);
    last.choices.frameSizeIndex = Choice(settings, QStringLiteral("LastFrameSize"), kFrameSizeCount, 0);
    last.choices.stretchMode = Choice(settings, QStringLiteral("LastStretchMode"), kStretchModeCount, 0);
    last.choices.bitrateIndex = Choice(settings, QStringLiteral("LastBitrate"), kAudioCodeCount, 0);
    last.presetName = settings.value(QStringLiteral("LastPreset")).toString();
    return last;
}

bool StoreLastSettings(const LastSettings& last)
{
    QSettings settings = OptionsSettings();
    settings.setValue(QStringLiteral("LastFormat"), last.choices.formatIndex);
    settings.setValue(QStringLiteral("LastFrameSize"), last.choices.frameSizeIndex);
    settings.setValue(QStringLiteral("LastStretchMode"), last.choices.stretchMode);
    settings.setValue(QStringLiteral("LastBitrate"), last.choices.bitrateIndex);
    settings.setValue(QStringLiteral("LastPreset"), last.presetName);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString OptionsFile()
{
    return OptionsSettings().fileName();
}

QString PresetFolder()
{
    return QFileInfo(OptionsFile()).absolutePath() + QStringLiteral("/Presets");
}
