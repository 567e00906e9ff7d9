// The one seam between the program and everything that waits for a person or
// leaves the program: message boxes, file and folder choosers, modal dialogs,
// popup menus, shell requests and desktop notifications. Tests install their own answers.
#pragma once

#include "CSessionPower.h"

#include <QPoint>
#include <QString>
#include <QStringList>

class QDialog;
class QMenu;
class QWidget;

// Message box styles and results, with the platform's values.
enum MessageBoxStyle : unsigned
{
    kMbOk = 0x0000,
    kMbOkCancel = 0x0001,
    kMbYesNo = 0x0004,
    kMbIconInformation = 0x0040,
};

class CPlatformUi
{
public:
    virtual ~CPlatformUi() = default;

    // The installed seam; the real one unless a test installed another.
    static CPlatformUi& Get();
    // Installs ui (not owned); nullptr restores the real one.
    static void Install(CPlatformUi* ui);

    // Returns IDOK or IDCANCEL; IDYES or IDNO for kMbYesNo.
    virtual int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style);
    // Chosen files in the order the chooser lists them; empty when cancelled.
    virtual QStringList GetOpenFileNames(QWidget* owner, const QString& filter);
    // The file to write, chosen with the overwrite question asked; empty when cancelled.
    virtual QString GetSaveFileName(QWidget* owner, const QString& filter, const QString& suggestedPath);
    // The chosen folder; empty when cancelled. The chooser opens in startFolder.
    virtual QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder);
    // Runs a dialog modally; returns IDOK when accepted, IDCANCEL otherwise.
    virtual int RunModal(QDialog& dialog);
    // Shows a popup menu at a screen position; returns the chosen item's command
    // (the action's data) or 0 when nothing was chosen.
    virtual int TrackPopupMenu(QMenu& menu, const QPoint& screenPos);
    // Asks the desktop to open a file, folder or address ("open" or "explore").
    virtual bool ShellExecute(const QString& verb, const QString& target);
    // Starts a program with an argument list, never through a shell.
    virtual bool StartProgram(const QString& program, const QStringList& arguments);
    // Shows a desktop notification on the session bus, if there is one; never waits.
    virtual void Notify(const QString& summary);
    // Asks the system bus's logind to suspend or power off; done gets its refusal, if any.
    virtual void RequestSessionPower(CSessionPower::Action action, const CSessionPower::Done& done);
};
