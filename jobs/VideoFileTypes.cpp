#include "VideoFileTypes.h"

#include <QFileInfo>

QString VideoFileFilter()
{
    // The first entries as ever; then one per family of today's files, and anything at all.
    return QStringLiteral(
        "All Support Files "
        "(*.*)|*.mpg;*.mpeg;*.avi;*.wmv;*.asf;*.mp4;*.m4v;*.mov;*.mkv;*.webm;*.flv;*.ts;*.mts;"
        "*.m2ts;*.3gp;*.vob;|mpg (*.mpg) | *.mpg;*.mpeg|avi (*.avi) | *.avi|wmv (*.wmv)| *.wmv|asf (*.asf) | "
        "*.asf|mp4 (*.mp4)|*.mp4;*.m4v|mov (*.mov)|*.mov|mkv (*.mkv)|*.mkv|webm (*.webm)|*.webm|flv "
        "(*.flv)|*.flv|"
        "ts (*.ts)|*.ts;*.mts;*.m2ts|3gp (*.3gp)|*.3gp|vob (*.vob)|*.vob|All Files (*.*)|*||");
}

QStringList SupportedVideoExtensions()
{
    QStringList extensions;
    for (const QString& pattern : VideoFileFilter().section(QLatin1Char('|'), 1, 1).split(QLatin1Char(';'))) {
        const QString trimmed = pattern.trimmed();
        if (trimmed.startsWith(QLatin1String("*.")))
            extensions << trimmed.mid(2).toLower();
    }
    return extensions;
}

bool IsSupportedVideoFile(const QString& path)
{
    static const QStringList extensions = SupportedVideoExtensions();
    return extensions.contains(QFileInfo(path).suffix().toLower());
}
