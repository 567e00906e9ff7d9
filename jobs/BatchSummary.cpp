#include "BatchSummary.h"

QString BatchSummaryText(int converted, BatchEnd end)
{
    switch (end) {
    case BatchEnd::Done:
        if (converted == 0)
            return QString();
        return converted == 1 ? QStringLiteral("1 file converted")
                              : QStringLiteral("%1 files converted").arg(converted);
    case BatchEnd::Failed: return QStringLiteral("%1 converted, 1 failed").arg(converted);
    case BatchEnd::Stopped: return QStringLiteral("%1 converted, stopped").arg(converted);
    }
    return QString();
}
