// The job list as a file: JSON with a version, one object a row. Sources are kept
// absolute and relative to the list's folder, so a list moved with its videos still
// opens. What is read is checked whole before anything uses it.
#pragma once

#include "IJobRows.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct SavedJobRow
{
    QString title;
    QString start;
    QString end;
    QString status;
    bool checked = true;
    QString source;         // absolute
    QString relativeSource; // from the list file's folder
    QString tempOutput;     // the temporary file of the row being written; empty otherwise
};

struct SavedJobList
{
    bool finished = false; // the window that kept it was closed the usual way
    QList<SavedJobRow> rows;
};

// Files larger than this are refused unread.
constexpr qint64 kMaxJobListBytes = 16 * 1024 * 1024;

// The rows as they stand; writingRow (-1 for none) is the row whose write goes to tempOutput.
SavedJobList SnapshotRows(const IJobRows& rows, int writingRow, const QString& tempOutput);

QByteArray JobListToJson(const SavedJobList& list, const QString& listFolder);

// The list, or nullopt with the reason in *refusal when the data is not a list this
// program wrote: not JSON, another version, a field missing, of the wrong type or too long,
// or a temporary file that is not one the engine names.
std::optional<SavedJobList> JobListFromJson(const QByteArray& data, QString* refusal);

// The row's source where it now is: the absolute path, else the relative one from
// listFolder; empty when neither is a file.
QString FoundSource(const SavedJobRow& row, const QString& listFolder);
