// Keeps one window's job list in a file of its own in the program's data folder, so
// that a crash, a kill or a power cut loses nothing. Each file has a lock held while
// its window runs: a window never writes over another's list, and a list left by a
// window that died is offered back to exactly one new window.
#pragma once

#include "JobListFile.h"

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

class CJobListStore
{
public:
    struct Claim
    {
        std::optional<SavedJobList> offer; // the list to offer back, if one is worth it
        QString refusal;                   // why a list left behind could not be read
    };

    // folder: where the lists live; empty for the program's data folder.
    explicit CJobListStore(QString folder = QString());
    ~CJobListStore();

    // Takes a file no running window holds: the newest list left unfinished (or, with
    // keepFinished, finished with rows in it), else a new one. The lists passed over on the
    // way go: those with nothing to offer are removed, those that cannot be read put aside.
    Claim ClaimFile(bool keepFinished);
    bool HasFile() const { return !m_path.isEmpty(); }
    QString FilePath() const { return m_path; }

    // Replaces the file's content at once or not at all; false with the reason on failure.
    bool Save(const SavedJobList& list, QString* failure) const;

private:
    bool TakeOver(const QString& path, bool keepFinished, Claim* claim);
    bool TryLock(const QString& path);

    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// Writes data to path through a temporary file that replaces it only once it is on disk.
bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* failure);
// The list in the file, or nullopt with the reason (and the file) when it cannot be read
// or is refused.
std::optional<SavedJobList> ReadJobListFile(const QString& path, QString* refusal);
