// The job list on disk: kept after every change so a crash loses nothing, offered back
// on the next start, and saved and opened by hand.
#include "CConverterDlg.h"

#include "jobs/ConverterOptions.h"
#include "jobs/IncomingFiles.h"
#include "jobs/JobRowText.h"
#include "platform/CPlatformUi.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString kJobListFilter = QStringLiteral("Job lists (*.vvjobs)|*.vvjobs|All Files (*.*)|*.*||");
const QString kJobListExtension = QStringLiteral(".vvjobs");
} // namespace

void CConverterDlg::StartJobList()
{
    const CJobListStore::Claim claim = m_jobListStore.ClaimFile(ReadOptions().keepJobList);
    if (!claim.refusal.isEmpty())
        Message(claim.refusal, kMbOk);
    if (claim.offer)
        OfferJobList(*claim.offer);
    m_jobListSave.setSingleShot(true);
    connect(&m_jobListSave, &QTimer::timeout, this, &CConverterDlg::SaveJobList);
    const auto startSave = static_cast<void (QTimer::*)()>(&QTimer::start);
    const QAbstractItemModel* model = m_lstJobs.model();
    connect(model, &QAbstractItemModel::dataChanged, &m_jobListSave, startSave);
    connect(model, &QAbstractItemModel::rowsInserted, &m_jobListSave, startSave);
    connect(model, &QAbstractItemModel::rowsRemoved, &m_jobListSave, startSave);
    // At once, so that the list names a new temporary file before anything else can happen.
    connect(&m_run, &CBatchRun::writeChanged, this, &CConverterDlg::SaveJobList);
    SaveJobList(); // the claimed file holds this window's list from now on
}

// The write a crash cut off is gone either way, so its temporary file goes whatever the answer.
void CConverterDlg::OfferJobList(const SavedJobList& list)
{
    for (const SavedJobRow& row : list.rows) {
        if (!row.tempOutput.isEmpty() && QFile::exists(row.tempOutput) && !QFile::remove(row.tempOutput))
            Message(QStringLiteral("%1 cannot be removed.").arg(row.tempOutput), kMbOk);
    }
    const int count = int(list.rows.size());
    const QString question = count == 1 ? QStringLiteral("Restore the 1 job from last time?")
                                        : QStringLiteral("Restore the %1 jobs from last time?").arg(count);
    if (CPlatformUi::Get().MessageBox(this, question, QStringLiteral(kProductName), kMbYesNo) != IDYES)
        return;
    const QStringList missing = AddSavedRows(list, m_jobListStore.FilePath());
    if (!missing.isEmpty())
        Message(SkippedPathsMessage(missing), kMbOk | kMbIconInformation);
}

// A row whose write was cut off is "Ready" again. Returns the sources that are no longer
// there, left out.
QStringList CConverterDlg::AddSavedRows(const SavedJobList& list, const QString& listFile)
{
    const QString listFolder = QFileInfo(listFile).absolutePath();
    QStringList missing;
    for (const SavedJobRow& saved : list.rows) {
        const QString source = FoundSource(saved, listFolder);
        if (source.isEmpty()) {
            missing << saved.source;
            continue;
        }
        m_rows.AppendRow(source, saved.end);
        const int row = m_rows.RowCount() - 1;
        m_rows.SetCellText(row, kTitleColumn, saved.title);
        m_rows.SetCellText(row, kStartColumn, saved.start);
        m_rows.SetCellText(row, kStatusColumn, saved.tempOutput.isEmpty() ? saved.status : kStatusReady);
        m_rows.SetRowChecked(row, saved.checked);
    }
    if (missing.size() < list.rows.size())
        ShowJobList();
    return missing;
}

void CConverterDlg::SaveJobList()
{
    SavedJobList list = SnapshotRows(m_rows, m_run.WritingRow(), m_ctlEngine->WriteTempPath());
    list.finished = m_bJobListEnded;
    QString failure;
    const bool saved = m_jobListStore.Save(list, &failure);
    const bool wasFailing = m_bJobListSaveFailed;
    m_bJobListSaveFailed = !saved; // before the message, whose event loop may save again
    if (!saved && !wasFailing)
        Message(QStringLiteral("The job list cannot be kept: %1").arg(failure), kMbOk);
}

void CConverterDlg::done(int result)
{
    m_bJobListEnded = true;
    if (m_jobListStore.HasFile())
        SaveJobList();
    QDialog::done(result);
}

void CConverterDlg::OnSaveList()
{
    if (!HasRowsOrTell())
        return;
    QString path = CPlatformUi::Get().GetSaveFileName(this, kJobListFilter, QString());
    if (path.isEmpty())
        return;
    if (!path.endsWith(kJobListExtension, Qt::CaseInsensitive))
        path += kJobListExtension;
    const QByteArray data =
        JobListToJson(SnapshotRows(m_rows, -1, QString()), QFileInfo(path).absolutePath());
    QString failure;
    if (!WriteFileAtomically(path, data, &failure))
        Message(QStringLiteral("The job list is not saved: %1").arg(failure), kMbOk);
}

// Every chosen list is read and checked before any row is added, so a list that is
// refused changes nothing.
void CConverterDlg::OnOpenList()
{
    QList<SavedJobList> lists;
    const QStringList paths = CPlatformUi::Get().GetOpenFileNames(this, kJobListFilter);
    for (const QString& path : paths) {
        QString refusal;
        const std::optional<SavedJobList> list = ReadJobListFile(path, &refusal);
        if (!list) {
            Message(QStringLiteral("The job list is not opened: %1").arg(refusal), kMbOk);
            return;
        }
        lists << *list;
    }
    QStringList missing;
    for (int i = 0; i < lists.size(); ++i)
        missing += AddSavedRows(lists[i], paths[i]);
    if (!missing.isEmpty())
        Message(SkippedPathsMessage(missing), kMbOk | kMbIconInformation);
}
