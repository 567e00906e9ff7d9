#include "RowClips.h"

#include "IJobRows.h"
#include "JobRowText.h"
#include "engine/IVideoEngine.h"

void AddRowClips(IVideoEngine& engine, const IJobRows& rows, int row, double startSeconds, double endSeconds,
                 int stretchMode)
{
    const QString path = rows.CellText(row, kPathColumn);
    engine.AddVideoClip(path, startSeconds, endSeconds, short(stretchMode));
    engine.AddAudioClip(path, startSeconds, endSeconds);
}
