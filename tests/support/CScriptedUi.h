// Answers the program's prompts from a script instead of a person, and records
// what was asked: message boxes, choosers, modal dialogs and menus; shell
// requests are recorded by the base class.
#pragma once

#include "CShellRecorder.h"
#include "app/CPopupMenu.h"
#include "res/resource.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QStringList>

#include <functional>

class CScriptedUi : public CShellRecorder
{
public:
    struct Message
    {
        QString text;
        QString caption;
    };
    struct MenuShown
    {
        QStringList items; // item texts, "-" for a separator
        QPoint pos;
        Qt::MouseButtons choosingButtons; // the buttons that can choose an item
    };

    // Scripted answers.
    int messageAnswer = IDOK;
    QStringList openFiles;
    QString saveFile;
    QString folder;
    int menuChoice = 0;
    std::function<int(QDialog&)> onModal = [](QDialog&) { return IDCANCEL; };

    // What was asked.
    QList<Message> messages;
    QList<MenuShown> menus;
    QStringList folderTitles;
    QStringList modalTitles;

    int MessageBox(QWidget*, const QString& text, const QString& caption, unsigned) override
    {
        messages.append({text, caption});
        return messageAnswer;
    }
    QStringList GetOpenFileNames(QWidget*, const QString&) override { return openFiles; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&) override { return saveFile; }
    QString BrowseForFolder(QWidget*, const QString& title, const QString&) override
    {
        folderTitles << title;
        return folder;
    }
    int RunModal(QDialog& dialog) override
    {
        modalTitles << dialog.windowTitle();
        return onModal(dialog);
    }
    int TrackPopupMenu(QMenu& menu, const QPoint& screenPos) override
    {
        MenuShown shown;
        shown.pos = screenPos;
        const auto* popup = qobject_cast<const CPopupMenu*>(&menu);
        shown.choosingButtons = popup ? popup->ChoosingButtons() : Qt::LeftButton | Qt::RightButton;
        for (const QAction* action : menu.actions())
            shown.items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        menus.append(shown);
        return menuChoice;
    }
};
