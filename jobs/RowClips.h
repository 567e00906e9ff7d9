// The conversion and the preview hand a row's clip to the engine alike; only how
// they read its times differs.
#pragma once

class IJobRows;
class IVideoEngine;

// The picture and then the sound of the row's source, from startSeconds to endSeconds.
void AddRowClips(IVideoEngine& engine, const IJobRows& rows, int row, double startSeconds, double endSeconds,
                 int stretchMode);
