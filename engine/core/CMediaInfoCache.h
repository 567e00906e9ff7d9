// What probing found out about each file, kept so that adding a file, checking a
// write and starting a preview probe it once. A file whose size or modification
// time changed is probed again. Safe to use from any thread.
#pragma once

#include "MediaInput.h"
#include "MediaPaths.h"

#include <QHash>
#include <QString>

#include <deque>
#include <mutex>

class CMediaInfoCache
{
public:
    // inspectMedia(path), from the cache when the file is unchanged.
    std::optional<MediaInfo> inspect(const QString& path, MediaError* error = nullptr);

private:
    struct Entry
    {
        FileStamp stamp;
        std::optional<MediaInfo> info;
        MediaError error;
    };

    std::mutex m_mutex;
    QHash<QString, Entry> m_entries;
    std::deque<QString> m_order; // oldest first, to keep the cache bounded
};
