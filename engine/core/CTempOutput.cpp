#include "CTempOutput.h"

#include "EngineLog.h"
#include "MediaPaths.h"
#include "OutputNaming.h"

namespace {
constexpr int kMaxAttempts = 100;
}

CTempOutput::CTempOutput(QString tempPath, QString destination)
    : m_tempPath(std::move(tempPath)), m_destination(std::move(destination))
{
}

CTempOutput::~CTempOutput()
{
    discard();
}

std::shared_ptr<CTempOutput> CTempOutput::reserve(const QString& destination)
{
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const QString candidate = tempPathFor(destination);
        // Only a new name: a file already there (another write's, or the user's) is never touched.
        if (createNewFile(candidate))
            return std::shared_ptr<CTempOutput>(new CTempOutput(candidate, destination));
        if (pathKind(candidate) == PathKind::Missing)
            return nullptr; // not a name clash: the folder cannot be written
    }
    return nullptr;
}

bool CTempOutput::flush()
{
    return !m_settled && flushToDisk(m_tempPath);
}

bool CTempOutput::commit()
{
    if (m_settled)
        return false;
    if (!replaceFile(m_tempPath, m_destination))
        return false;
    m_settled = true;
    // The file is in place either way; only a power cut could still undo the rename.
    if (!flushFolderOf(m_destination))
        qCWarning(lcEngine, "The folder of %s could not be flushed to disk", qPrintable(m_destination));
    return true;
}

void CTempOutput::discard()
{
    if (m_settled)
        return;
    removeFile(m_tempPath);
    m_settled = true;
}
