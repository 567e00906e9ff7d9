#include "CMediaInfoCache.h"

#include <QFileInfo>

namespace {
constexpr size_t kMaxEntries = 512;
}

std::optional<MediaInfo> CMediaInfoCache::inspect(const QString& path, MediaError* error)
{
    const QFileInfo file(path);
    const QString key = file.absoluteFilePath();
    const qint64 size = file.size();
    const QDateTime modified = file.lastModified();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_entries.constFind(key);
        if (found != m_entries.cend() && found->size == size && found->modified == modified) {
            if (error && !found->info)
                *error = found->error;
            return found->info;
        }
    }
    // Probed unlocked: a slow file must not hold up the other threads.
    Entry entry{size, modified, std::nullopt, MediaError()};
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
