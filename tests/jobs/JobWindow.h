// A main window with a recording engine and scripted prompts, and ways to drive its job list.
#pragma once

#include "app/CConverterDlg.h"
#include "jobs/JobRowText.h"
#include "res/resource.h"
#include "support/CRecordingEngine.h"
#include "support/CScriptedUi.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QItemSelectionModel>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Keeps the output folder the tests store away from the user's own, from the start of every
// program that drives the window.
inline void RedirectSettings()
{
    static QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
}
Q_COREAPP_STARTUP_FUNCTION(RedirectSettings)

inline const QString kCaption = QStringLiteral("Virav Velmora Video Converter");

class JobWindow
{
public:
    CScriptedUi ui; // installed before the window exists, removed after it is gone
    CRecordingEngine* engine;
    std::unique_ptr<CConverterDlg> dlg;

    // With a null engine the window makes its real one.
    explicit JobWindow(std::unique_ptr<CRecordingEngine> fake = std::make_unique<CRecordingEngine>())
        : engine(fake.get()), dlg(std::make_unique<CConverterDlg>(std::move(fake)))
    {
    }

    // Shows the window and waits until it is on screen.
    bool Show()
    {
        dlg->show();
        return QTest::qWaitForWindowExposed(dlg.get());
    }

    QTableWidget* List() const { return qobject_cast<QTableWidget*>(dlg->GetDlgItem(IDC_JOBLIST)); }
    QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(dlg->GetDlgItem(id)); }

    void AddFiles(const QStringList& paths)
    {
        ui.openFiles = paths;
        dlg->OnCommand(IDC_ADDFILES);
        ui.openFiles.clear();
    }
    // Adds rows with the given titles (sources /v/<title>) and forgets the engine calls so far.
    void AddTitles(const QStringList& titles)
    {
        QStringList paths;
        for (const QString& title : titles)
            paths << "/v/" + title;
        AddFiles(paths);
        engine->calls.clear();
    }

    QString Cell(int row, int column) const
    {
        const QTableWidgetItem* item = List()->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList Column(int column) const
    {
        QStringList cells;
        for (int row = 0; row < List()->rowCount(); ++row)
            cells << Cell(row, column);
        return cells;
    }
    void SetCell(int row, int column, const QString& text) { List()->item(row, column)->setText(text); }

    QList<bool> CheckStates() const
    {
        QList<bool> states;
        for (int row = 0; row < List()->rowCount(); ++row)
            states << (List()->item(row, 0)->checkState() == Qt::Checked);
        return states;
    }
    void SetChecked(const QList<int>& rows)
    {
        for (int row = 0; row < List()->rowCount(); ++row)
            List()->item(row, 0)->setCheckState(rows.contains(row) ? Qt::Checked : Qt::Unchecked);
    }

    // Selects the rows in the order given, as clicks with Ctrl would.
    void Select(const QList<int>& rows)
    {
        List()->clearSelection();
        for (int row : rows)
            List()->selectionModel()->select(List()->model()->index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // A right click at pos of target, as the platform sends it.
    static void RightClick(QWidget* target, QPoint pos)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
        QApplication::sendEvent(target, &event);
    }

    // "caption|text" of every message box so far.
    QStringList Messages() const
    {
        QStringList shown;
        for (const CScriptedUi::Message& message : ui.messages)
            shown << message.caption + "|" + message.text;
        return shown;
    }
};
