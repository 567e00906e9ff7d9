#include "CMediaInfoCache.h"

#include <QFileInfo>

namespace {
constexpr size_t kMaxEntries = 512;
}

std::optional<MediaInfo> CMediaInfoCache::inspect(const QString& path, MediaError* error)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    const FileStamp stamp = fileStamp(path);
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_entries.constFind(key);
        if (found != m_entries.cend() && found->stamp == stamp) {
            if (error && !found->info)
                *error = found->error;
            return found->info;
        }
    }
    // Probed unlocked: a slow file must not hold up the other threads.
    Entry entry{stamp, std::nullopt, MediaError()};
    entry.info = inspectMedia(path, &entry.error);
    if (error && !entry.info)
        *error = entry.error;
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_entries.contains(key))
        m_order.push_back(key);
    m_entries.insert(key, entry);
    if (m_order.size() > kMaxEntries) {
        m_entries.remove(m_order.front());
        m_order.pop_front();
    }
    return entry.info;
}
