#include "CJobListStore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

Q_LOGGING_CATEGORY(lcJobList, "vv.joblist")

namespace {
const QString kListPattern = QStringLiteral("joblist-*.json");

bool IsWorthOffering(const SavedJobList& list, bool keepFinished)
{
    return !list.rows.isEmpty() && (!list.finished || keepFinished);
}
} // namespace

CJobListStore::CJobListStore(QString folder)
    : m_folder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                : std::move(folder))
{
}

CJobListStore::~CJobListStore() = default;

CJobListStore::Claim CJobListStore::ClaimFile(bool keepFinished)
{
    Claim claim;
    QDir folder(m_folder);
    if (!folder.mkpath(QStringLiteral("."))) {
        claim.refusal = QStringLiteral("The job list cannot be kept: %1 cannot be made.").arg(m_folder);
        qCWarning(lcJobList, "%s", qPrintable(claim.refusal));
        return claim;
    }
    for (const QString& name : folder.entryList({kListPattern}, QDir::Files, QDir::Time)) {
        const QString path = folder.filePath(name);
        if (TryLock(path) && TakeOver(path, keepFinished, &claim))
            return claim;
    }
    const QString path =
        folder.filePath(QStringLiteral("joblist-%1.json").arg(QUuid::createUuid().toString(QUuid::Id128)));
    if (TryLock(path)) {
        m_path = path;
        return claim;
    }
    claim.refusal = QStringLiteral("The job list cannot be kept: %1 cannot be locked.").arg(path);
    qCWarning(lcJobList, "%s", qPrintable(claim.refusal));
    return claim;
}

// The file at path is locked: its list is this window's when it is worth offering; else
// the file goes, and the lock with it.
bool CJobListStore::TakeOver(const QString& path, bool keepFinished, Claim* claim)
{
    QString failure;
    const std::optional<SavedJobList> list = ReadJobListFile(path, &failure);
    if (list && IsWorthOffering(*list, keepFinished)) {
        claim->offer = list;
        m_path = path;
        return true;
    }
    if (list) {
        QFile::remove(path); // nothing in it to offer, and no window of its own any more
    } else {
        // Kept aside for a look, and not asked about again.
        QFile::rename(path, path + QStringLiteral(".unreadable"));
        claim->refusal = QStringLiteral("The job list from last time cannot be read: %1. It is kept as %2.")
                             .arg(failure, path + QStringLiteral(".unreadable"));
    }
    m_lock.reset();
    return false;
}

bool CJobListStore::TryLock(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    return true;
}

bool CJobListStore::Save(const SavedJobList& list, QString* failure) const
{
    if (m_path.isEmpty())
        return true;
    return WriteFileAtomically(m_path, JobListToJson(list, m_folder), failure);
}

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* failure)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return true;
    *failure = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
    qCWarning(lcJobList, "%s", qPrintable(*failure));
    return false;
}

std::optional<SavedJobList> ReadJobListFile(const QString& path, QString* refusal)
{
    QFile file(path);
    std::optional<SavedJobList> list;
    if (file.open(QIODevice::ReadOnly))
        list = JobListFromJson(file.read(kMaxJobListBytes + 1), refusal); // enough to tell it is too large
    else
        *refusal = file.errorString();
    if (!list) {
        *refusal += QStringLiteral(" (%1)").arg(path);
        qCWarning(lcJobList, "Job list refused: %s", qPrintable(*refusal));
    }
    return list;
}
