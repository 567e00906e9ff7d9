// Adding, editing, checking and removing job rows through the window's commands.
#include "JobWindow.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

class TestJobList : public QObject
{
    Q_OBJECT
private slots:
    // Added rows are checked and "Ready"; a title typed in place is not kept.
    void addingFilesMakesCheckedReadyRows()
    {
        JobWindow w;
        QVERIFY(w.Show());
        w.AddFiles({});
        QCOMPARE(w.List()->rowCount(), 0);
        QVERIFY(w.dlg->GetDlgItem(IDC_PICTURE)->isVisible());

        const QString a = QDir::toNativeSeparators("/v/a.mpg");
        const QString b = QDir::toNativeSeparators("/v/b.avi");
        w.engine->durations = {{a, 63.456}, {b, 0.0}};
        w.AddFiles({a, b, a});
        const QList<QStringList> rows{{"a.mpg", "0", "63.46", "Ready", a}, {"b.avi", "0", "1", "Ready", b}};
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 5; ++column)
                QCOMPARE(w.Cell(row, column), rows[row % 2][column]);
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true, true}));
        QVERIFY(w.List()->isVisible());
        QVERIFY(!w.dlg->GetDlgItem(IDC_PICTURE)->isVisible());

        w.List()->editItem(w.List()->item(0, 0));
        auto* editor = w.List()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("typed in place");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(w.Cell(0, 0), QString("a.mpg"));
    }

    // Rename offers the title's base and keeps its extension; the times are kept as typed.
    void textDialogsEditTheFirstSelectedRow_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("edited");
        const QString rename = "Rename|Enter the output movie title here|";
        auto row = [](const char* name, int command, const char* title, int button, const QString& shown,
                      int column, const char* edited) {
            QTest::newRow(name) << command << QString(title) << button << shown << column << QString(edited);
        };
        row("rename", ID_LIST_RENAME, "a.mpg", IDOK, rename + "a", kTitleColumn, "12,9 s.mpg");
        row("rename a title without point", ID_LIST_RENAME, "clip", IDOK, rename, kTitleColumn, "12,9 sclip");
        row("rename cancelled", ID_LIST_RENAME, "a.mpg", IDCANCEL, rename + "a", kTitleColumn, "a.mpg");
        row("start time", ID_LIST_EDITSTART, "a.mpg", IDOK, "Edit Start Time|Enter start time here|0",
            kStartColumn, "12,9 s");
    }
    void textDialogsEditTheFirstSelectedRow()
    {
        QFETCH(int, command);
        QFETCH(QString, title);
        QFETCH(int, button);
        QFETCH(QString, shown);
        QFETCH(int, column);
        QFETCH(QString, edited);
        JobWindow w;
        w.engine->durations = {{"/v/" + title, 63.456}};
        w.AddTitles({"other.avi", title, "third.avi"});
        QStringList expected = w.Column(column);
        expected[1] = edited;
        w.Select({2, 1});
        // Answered as a person would: OK with the Enter key, Cancel with its button.
        QStringList dialogs; // "caption|group|offered text" of each dialog shown
        w.ui.onModal = [&](QDialog& dlg) {
            dlg.show();
            auto* edit = dlg.findChild<QLineEdit*>("ctl1003");
            dialogs << dlg.windowTitle() + "|" + dlg.findChild<QGroupBox*>()->title() + "|" + edit->text();
            edit->setText("12,9 s");
            if (button == IDOK)
                QTest::keyClick(edit, Qt::Key_Return);
            else
                dlg.findChild<QPushButton*>(QStringLiteral("ctl%1").arg(button))->click();
            return dlg.result() == QDialog::Accepted ? IDOK : IDCANCEL;
        };
        w.dlg->OnCommand(command);
        QCOMPARE(dialogs, QStringList{shown});
        QCOMPARE(w.Column(column), expected);
    }

    // The list commands say when there are no rows, the row edits when nothing is selected;
    // Check and Uncheck Selected say nothing either way.
    void checkRemoveAndClear()
    {
        JobWindow w;
        w.dlg->show();
        // Commands that share a handler (the Edit menu's Check All, File's Clear) are not repeated.
        const QList<int> needRows{ID_LIST_CHECKALL, ID_LIST_UNCHECKALL, ID_LIST_REMOVE, ID_LIST_CLEAR};
        const QList<int> needSelection{ID_LIST_RENAME, ID_LIST_EDITSTART, ID_LIST_EDITEND};
        for (int command :
             needRows + needSelection + QList<int>{ID_EDIT_CHECKSELECTED, ID_EDIT_UNCHECKSELECTED})
            w.dlg->OnCommand(command);
        w.AddTitles({"a", "b", "c", "d"});
        for (int command : needSelection + QList<int>{ID_LIST_REMOVE})
            w.dlg->OnCommand(command);
        const QString noItems = kCaption + "|No items in the list!";
        const QString select = kCaption + "|Please select item in the list!";
        QCOMPARE(w.Messages(), QStringList(4, noItems) + QStringList(6, select));
        QVERIFY(w.ui.modalTitles.isEmpty());

        w.Select({3, 1});
        const QList<QPair<int, QList<bool>>> steps{{ID_LIST_UNCHECKALL, {false, false, false, false}},
                                                   {ID_EDIT_CHECKSELECTED, {false, true, false, true}},
                                                   {ID_LIST_CHECKALL, {true, true, true, true}},
                                                   {ID_EDIT_UNCHECKSELECTED, {true, false, true, false}}};
        for (const auto& [command, states] : steps) {
            w.dlg->OnCommand(command);
            QCOMPARE(w.CheckStates(), states);
        }
        w.dlg->OnCommand(ID_LIST_REMOVE);
        QCOMPARE(w.Column(kTitleColumn), (QStringList{"a", "c"}));
        w.dlg->OnCommand(ID_LIST_CLEAR);
        QCOMPARE(w.List()->rowCount(), 0);
        QVERIFY(w.List()->isVisible()); // nothing hides the list again
        QCOMPARE(w.ui.messages.size(), 10);
    }

    // The command line (relative paths from the working folder) and drops on the panel or the
    // list add rows as Add does, each with one message for what was left out. A dropped folder
    // gives its supported files from every level, sorted by name in any case.
    void filesFromOutside()
    {
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        for (const char* name : {"a.mpg", "b.txt", "f/C.avi", "f/b.mov", "f/sub/a.mp4"}) {
            QDir().mkpath(QFileInfo(name).path());
            QFile(name).open(QIODevice::WriteOnly);
        }
        const auto path = [&dir](const char* name) { return QDir::toNativeSeparators(dir.filePath(name)); };
        const auto drop = [](QWidget* target, QMimeData* data) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            return QApplication::sendEvent(target, &enter) && enter.isAccepted() &&
                   QApplication::sendEvent(target, &dropped);
        };
        QMimeData files, text;
        files.setUrls({QUrl::fromLocalFile(path("b.txt")), QUrl::fromLocalFile(path("f"))});
        text.setText(path("a.mpg"));
        JobWindow w;
        w.dlg->show();
        QVERIFY(drop(w.dlg->GetDlgItem(IDC_PICTURE), &files));
        QTRY_COMPARE(w.Column(kPathColumn),
                     (QStringList{path("f/b.mov"), path("f/C.avi"), path("f/sub/a.mp4")}));
        w.engine->durations = {{path("a.mpg"), 63.456}};
        w.dlg->OnCommandLineFiles({"a.mpg", "f", "gone.mpg"});
        QCOMPARE((QStringList{w.Cell(3, kTitleColumn), w.Cell(3, kEndColumn), w.Cell(3, kPathColumn)}),
                 (QStringList{"a.mpg", "63.46", path("a.mpg")}));
        QVERIFY(!drop(w.List()->viewport(), &text));
        QVERIFY(drop(w.List()->viewport(), &files));
        QTRY_COMPARE(w.List()->rowCount(), 7);
        QCOMPARE(w.Messages(), (QStringList{kCaption + "|1 file not added: not a supported video type.",
                                            kCaption + "|Not added, not a file:\nf\ngone.mpg",
                                            kCaption + "|1 file not added: not a supported video type."}));
    }
};

QTEST_MAIN(TestJobList)
#include "test_job_list.moc"
