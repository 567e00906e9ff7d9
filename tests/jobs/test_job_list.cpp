// Adding, editing, checking and removing job rows through the window's commands.
#include "JobWindow.h"
#include "jobs/CEndTimeDlg.h"
#include "jobs/CStartTimeDlg.h"
#include "jobs/CTitleDlg.h"
#include "res/DialogTemplates.h"
#include "res/TemplateBuilder.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace
{
const QString kCaption = "Virav Velmora Video Converter";

QLineEdit* TextEdit(QDialog& dlg)
{
    return dlg.findChild<QLineEdit*>("ctl1003");
}

// Answers a text-entry dialog as a person would: read what it offers, type, press a button.
void AnswerTextDialog(CScriptedUi& ui, const QString& typed, int button, QStringList* offered)
{
    ui.onModal = [=](QDialog& dlg) {
        dlg.show();
        *offered << TextEdit(dlg)->text();
        TextEdit(dlg)->setText(typed);
        dlg.findChild<QPushButton*>(QStringLiteral("ctl%1").arg(button))->click();
        return dlg.result() == QDialog::Accepted ? IDOK : IDCANCEL;
    };
}
} // namespace

class TestJobList : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

private slots:
    void initTestCase() { RedirectSettings(m_config); }

    void addingFilesMakesCheckedReadyRows()
    {
        JobWindow w;
        w.dlg->show();
        w.AddFiles({});
        QCOMPARE(w.List()->rowCount(), 0);
        QVERIFY(w.dlg->GetDlgItem(IDC_PICTURE)->isVisible());

        const QString a = QDir::toNativeSeparators("/v/a.mpg");
        const QString b = QDir::toNativeSeparators("/v/b.avi");
        w.engine->durations = {{a, 63.456}, {b, 0.0}};
        w.AddFiles({a, b, a});
        QCOMPARE(w.ui.fileFilters.last(),
                 QString("All Support Files (*.*)|*.mpg;*.mpeg;*.avi;*.wmv;*.asf;|mpg (*.mpg) | "
                         "*.mpg;*.mpeg|avi (*.avi) | *.avi|wmv (*.wmv)| *.wmv|asf (*.asf) | "
                         "*.asf||"));
        QCOMPARE(w.Row(0), (QStringList{"a.mpg", "0", "63.46", "Ready", a}));
        QCOMPARE(w.Row(1), (QStringList{"b.avi", "0", "1", "Ready", b}));
        QCOMPARE(w.Row(2), w.Row(0));
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true, true}));
        QCOMPARE(w.engine->calls.size(), 3);
        QVERIFY(w.List()->isVisible());
        QVERIFY(!w.dlg->GetDlgItem(IDC_PICTURE)->isVisible());
    }

    void rename_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("renamed");
        QTest::newRow("new base") << "a.mpg"
                                  << "holiday" << IDOK << "a"
                                  << "holiday.mpg";
        QTest::newRow("point in the entry") << "a.mpg"
                                            << "x.y" << IDOK << "a"
                                            << "x.y.mpg";
        QTest::newRow("empty entry") << "a.mpg"
                                     << "" << IDOK << "a"
                                     << ".mpg";
        QTest::newRow("title without point") << "clip"
                                             << "new" << IDOK << ""
                                             << "newclip";
        QTest::newRow("cancel") << "a.mpg"
                                << "holiday" << IDCANCEL << "a"
                                << "a.mpg";
    }
    void rename()
    {
        QFETCH(QString, title);
        QFETCH(QString, typed);
        QFETCH(int, button);
        QFETCH(QString, offered);
        QFETCH(QString, renamed);
        JobWindow w;
        w.AddTitles({"other.avi", title, "third.avi"});
        // Rows clicked in the order 2, 1: the lowest one is renamed.
        w.Select({2, 1});
        QStringList offers;
        AnswerTextDialog(w.ui, typed, button, &offers);
        w.dlg->OnCommand(ID_LIST_RENAME);
        QCOMPARE(w.ui.modalTitles, QStringList{"Rename"});
        QCOMPARE(offers, QStringList{offered});
        QCOMPARE((QStringList{w.Cell(0, 0), w.Cell(1, 0), w.Cell(2, 0)}),
                 (QStringList{"other.avi", renamed, "third.avi"}));
    }

    void editTimesKeepTheTypedText_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::newRow("start") << ID_LIST_EDITSTART << 1 << "Edit Start Time";
        QTest::newRow("end") << ID_LIST_EDITEND << 2 << "Edit End Time";
    }
    void editTimesKeepTheTypedText()
    {
        QFETCH(int, command);
        QFETCH(int, column);
        QFETCH(QString, caption);
        JobWindow w;
        w.engine->durations = {{"/v/b.avi", 63.456}};
        w.AddTitles({"a.mpg", "b.avi"});
        const QString before = w.Cell(1, column);
        const QStringList untouched = w.Row(0);
        w.Select({1});
        QStringList offers;
        AnswerTextDialog(w.ui, "12,9 sec", IDOK, &offers);
        w.dlg->OnCommand(command);
        QCOMPARE(w.ui.modalTitles, QStringList{caption});
        QCOMPARE(offers, QStringList{before});
        QCOMPARE(w.Cell(1, column), QString("12,9 sec"));
        QCOMPARE(w.Row(0), untouched);
    }

    void commandsReportWhatTheyLack()
    {
        JobWindow w;
        const QList<int> needRows{ID_LIST_CHECKALL, ID_LIST_UNCHECKALL, ID_LIST_REMOVE, ID_LIST_CLEAR,
                                  ID_EDIT_CHECKALL, ID_EDIT_UNCHECKALL, ID_FILE_CLEAR};
        const QList<int> needSelection{ID_LIST_RENAME, ID_LIST_EDITSTART, ID_LIST_EDITEND};
        for (int command :
             needRows + needSelection + QList<int>{ID_EDIT_CHECKSELECTED, ID_EDIT_UNCHECKSELECTED})
            w.dlg->OnCommand(command);
        w.AddTitles({"a.mpg"});
        for (int command : needSelection + QList<int>{ID_LIST_REMOVE})
            w.dlg->OnCommand(command);

        const QString noItems = kCaption + "|No items in the list!";
        const QString select = kCaption + "|Please select item in the list!";
        QCOMPARE(w.Messages(), QStringList(7, noItems) + QStringList(6, select));
        for (const CScriptedUi::Message& message : w.ui.messages)
            QCOMPARE(message.style, 0x40u); // MB_OK with the information icon
        QVERIFY(w.ui.modalTitles.isEmpty());
        QCOMPARE(w.Row(0), (QStringList{"a.mpg", "0", "1", "Ready", "/v/a.mpg"}));
    }

    void checkAndUncheck()
    {
        JobWindow w;
        w.AddTitles({"a", "b", "c", "d"});
        for (int command : {ID_LIST_UNCHECKALL, ID_EDIT_UNCHECKALL}) {
            w.SetChecked({0, 2});
            w.dlg->OnCommand(command);
            QCOMPARE(w.CheckStates(), (QList<bool>{false, false, false, false}));
        }
        for (int command : {ID_LIST_CHECKALL, ID_EDIT_CHECKALL}) {
            w.SetChecked({1});
            w.dlg->OnCommand(command);
            QCOMPARE(w.CheckStates(), (QList<bool>{true, true, true, true}));
        }
        w.Select({3, 1});
        w.dlg->OnCommand(ID_EDIT_UNCHECKSELECTED);
        QCOMPARE(w.CheckStates(), (QList<bool>{true, false, true, false}));
        w.SetChecked({});
        w.dlg->OnCommand(ID_EDIT_CHECKSELECTED);
        QCOMPARE(w.CheckStates(), (QList<bool>{false, true, false, true}));
    }

    void removeAndClear()
    {
        JobWindow w;
        w.dlg->show();
        w.AddTitles({"r0", "r1", "r2", "r3", "r4"});
        w.Select({3, 1});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        QCOMPARE((QStringList{w.Cell(0, 0), w.Cell(1, 0), w.Cell(2, 0)}), (QStringList{"r0", "r2", "r4"}));
        QCOMPARE(w.List()->rowCount(), 3);
        w.dlg->OnCommand(ID_FILE_CLEAR);
        QCOMPARE(w.List()->rowCount(), 0);
        // Nothing hides the list again.
        QVERIFY(w.List()->isVisible());
        QVERIFY(w.ui.messages.isEmpty());
    }

    void inPlaceTitleEditReverts()
    {
        JobWindow w;
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        w.AddTitles({"a.mpg"});
        QTableWidget* list = w.List();
        for (int column = 1; column < list->columnCount(); ++column)
            QVERIFY(!(list->item(0, column)->flags() & Qt::ItemIsEditable));
        list->setCurrentCell(0, 0);
        list->editItem(list->item(0, 0));
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("typed in place");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(w.Cell(0, 0), QString("a.mpg"));
    }

    void textDialogsFollowTheirTemplates()
    {
        CTitleDlg title;
        CStartTimeDlg start;
        CEndTimeDlg end;
        const QList<QPair<CTextEntryDlg*, const DialogTemplate*>> dialogs{
            {&title, &TitleDialogTemplate()},
            {&start, &StartTimeDialogTemplate()},
            {&end, &EndTimeDialogTemplate()}};
        const QStringList captions{"Rename", "Edit Start Time", "Edit End Time"};
        const QStringList groups{"Enter the output movie title here", "Enter start time here",
                                 "Enter end time here"};
        for (int i = 0; i < dialogs.size(); ++i) {
            CTextEntryDlg& dlg = *dialogs[i].first;
            QCOMPARE(dlg.windowTitle(), captions[i]);
            QCOMPARE(dlg.findChild<QGroupBox*>()->title(), groups[i]);
            QCOMPARE(dlg.font().pointSize(), 8);
            QCOMPARE(dlg.size(), DluToPixels(dialogs[i].second->sizeDlu, DialogBaseUnits(dlg.font())));
            QVERIFY(dlg.findChild<QPushButton*>("ctl1")->isDefault());
            QCOMPARE(dlg.m_strText, QString());
        }
    }
};

QTEST_MAIN(TestJobList)
#include "test_job_list.moc"
