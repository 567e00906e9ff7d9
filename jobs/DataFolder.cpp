#include "DataFolder.h"

#include <QDir>
#include <QFileInfo>

QString DataFolder(const QString& programFolder)
{
    const QDir program(programFolder);
    const QString installed = program.filePath(QStringLiteral("../share/virav-velmora-converter"));
    for (const QString& folder : {programFolder, installed}) {
        if (QFileInfo(QDir(folder).filePath(QStringLiteral("Profiles"))).isDir())
            return QDir::cleanPath(folder);
    }
    return programFolder;
}
