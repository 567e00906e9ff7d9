// The temporary file a conversion writes into, beside its destination. It replaces
// the destination only on commit(); otherwise it is removed, so a failed or stopped
// conversion neither destroys an existing file nor leaves half a file behind.
#pragma once

#include <QString>

#include <memory>

class CTempOutput
{
public:
    // Creates an empty temporary file under a name not yet taken; null when the
    // destination's folder cannot be written.
    static std::shared_ptr<CTempOutput> reserve(const QString& destination);
    ~CTempOutput();
    CTempOutput(const CTempOutput&) = delete;
    CTempOutput& operator=(const CTempOutput&) = delete;

    const QString& tempPath() const { return m_tempPath; }
    const QString& destination() const { return m_destination; }
    // Waits until the written data is on the disk: slow, so called on a worker thread.
    bool flush();
    // Renames the temporary file over the destination, and flushes the folder so that
    // the rename lasts.
    bool commit();
    // Removes the temporary file.
    void discard();

private:
    CTempOutput(QString tempPath, QString destination);

    const QString m_tempPath;
    const QString m_destination;
    bool m_settled = false;
};
