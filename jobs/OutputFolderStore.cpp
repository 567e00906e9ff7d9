#include "OutputFolderStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
// On Windows this is the default value of HKEY_CURRENT_USER\Software\ZezuvVelmora\LastOutput.
QSettings OutputFolderSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZezuvVelmora"),
                     QStringLiteral("LastOutput"));
}

const QString kDefaultValueKey = QStringLiteral("Default");
} // namespace

QString ReadStoredOutputFolder()
{
    const QVariant stored = OutputFolderSettings().value(kDefaultValueKey);
    if (!stored.isValid() || stored.toString().isEmpty())
        return DefaultOutputFolder();
    return stored.toString();
}

bool StoreOutputFolder(const QString& folder)
{
    QSettings settings = OutputFolderSettings();
    settings.setValue(kDefaultValueKey, folder);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString DefaultOutputFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\");
#else
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return WithTrailingSeparator(QDir::toNativeSeparators(folder));
#endif
}

QString WithTrailingSeparator(const QString& folder)
{
    const QChar separator = QDir::separator();
    if (folder.endsWith(separator) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + separator;
}
