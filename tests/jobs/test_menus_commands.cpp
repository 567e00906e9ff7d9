// The popup menus and the window's own commands; one test drives the real prompts.
#include "JobWindow.h"
#include "app/CPopupMenu.h"
#include "jobs/OutputFolderStore.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace {
// Calls check() with the first widget that find() returns, from inside whatever
// modal loop the code under test is running.
void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> check)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (QWidget* widget = find()) {
            timer->stop();
            timer->deleteLater();
            check(widget);
        }
    });
    timer->start();
}
} // namespace

class TestMenusCommands : public QObject
{
    Q_OBJECT
private slots:
    void menusOpenWhereTheyShouldAndRunTheChoice()
    {
        JobWindow w;
        w.dlg->move(40, 30);
        QVERIFY(w.Show());
        QCursor::setPos(w.dlg->mapToGlobal(QPoint(100, 150)));
        // The buttons' menus choose with the left button only; the list menu opens at the
        // pointer, the others below their button's left edge.
        for (int id : {IDC_FILEMENU, IDC_EDITMENU, IDC_HELPMENU, IDC_LISTMENU}) {
            QWidget* button = w.dlg->GetDlgItem(id);
            QTest::mouseClick(button, Qt::LeftButton);
            const QPoint below = button->mapToGlobal(QPoint(0, button->height()));
            QCOMPARE(w.ui.menus.last().pos, id == IDC_LISTMENU ? QCursor::pos() : below);
            QCOMPARE(w.ui.menus.last().choosingButtons, Qt::MouseButtons(Qt::LeftButton));
        }

        JobWindow::RightClick(w.List()->viewport(), QPoint(30, 5)); // dismissed
        w.AddTitles({"a.mpg", "b.mpg"});
        w.ui.menuChoice = ID_EDIT_UNCHECKALL;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_EDITMENU), Qt::LeftButton);
        QCOMPARE(w.CheckStates(), (QList<bool>{false, false}));
        w.ui.menuChoice = ID_LIST_CHECKALL;
        JobWindow::RightClick(w.List()->viewport(), QPoint(30, 5));
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        // A right click opens the list menu at the pointer, with or without rows, and either button chooses.
        for (int shown : {4, 6}) {
            QCOMPARE(w.ui.menus[shown].pos, QCursor::pos());
            QCOMPARE(w.ui.menus[shown].choosingButtons, Qt::LeftButton | Qt::RightButton);
        }
        w.ui.menuChoice = ID_FILE_EXIT;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QVERIFY(!w.dlg->isVisible());
    }

    void helpHomePageOutputFolderAndAbout()
    {
        JobWindow w;
        const QString shownAtStart = qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER))->text();
        const QString cwd = QDir::currentPath();
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path())); // help is found beside the program all the same
        for (int command : {IDC_HELP, ID_HELP_HELP, ID_HELP})
            w.dlg->OnCommand(command);
        QTest::keyClick(w.List(), Qt::Key_F1); // F1 reaches the window from the focused list
        // Explore opens whatever the folder display shows, which a cancelled chooser leaves alone.
        for (int command : {IDC_HOMEPAGE, ID_HELP_HOMEPAGE, ID_FILE_SELECTFOLDER, IDC_EXPLORE})
            w.dlg->OnCommand(command);
        QVERIFY(QDir::setCurrent(cwd));
        w.ui.folder = QDir::toNativeSeparators(elsewhere.path());
        w.dlg->OnCommand(IDC_SELECTFOLDER);
        w.dlg->OnCommand(IDC_EXPLORE);
        const QString chosen = w.ui.folder + QDir::separator();
        QCOMPARE(w.ui.folderTitles, QStringList(2, "Select folder"));
        QCOMPARE((QStringList{w.dlg->OutputFolder(), ReadStoredOutputFolder()}), QStringList(2, chosen));
        const QString help =
            "open|" + QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/help.htm");
        const QString home = "|https://viravvelmora.example/";
        QCOMPARE(w.ui.shellRequests, (QStringList{help, help, help, help, home, home,
                                                  "explore|" + shownAtStart, "explore|" + chosen}));
        w.dlg->OnCommand(ID_HELP_ABOUT);
        QCOMPARE(w.ui.modalTitles.size(), 1);
    }

    void onlyTheChoosingButtonsChoose_data()
    {
        QTest::addColumn<int>("choosing");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("right on a button menu") << int(Qt::LeftButton) << int(Qt::RightButton) << false;
        QTest::newRow("right on the right-click menu")
            << int(Qt::LeftButton | Qt::RightButton) << int(Qt::RightButton) << true;
    }
    void onlyTheChoosingButtonsChoose()
    {
        QFETCH(int, choosing);
        QFETCH(int, button);
        QFETCH(bool, chosen);
        CPopupMenu menu{Qt::MouseButtons(choosing)};
        QAction* item = menu.addAction("Rename");
        menu.addAction("Clear");
        QSignalSpy triggered(item, &QAction::triggered);
        menu.popup(QPoint(50, 50));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        const QPoint centre = menu.actionGeometry(item).center();
        QTest::mouseMove(&menu, centre);
        QTest::mousePress(&menu, Qt::MouseButton(button), {}, centre);
        QTest::mouseRelease(&menu, Qt::MouseButton(button), {}, centre);
        QCOMPARE(triggered.size(), chosen ? 1 : 0);
        QCOMPARE(menu.isVisible(), !chosen);
    }

    // Without the scripted seam: the real chooser, popup and message box open
    // modally over the window, and the window acts on what is chosen in them.
    void realPromptsAreWired()
    {
        QTemporaryDir outputs;
        QVERIFY(StoreOutputFolder(WithTrailingSeparator(outputs.path())));
        auto fake = std::make_unique<CRecordingEngine>();
        CRecordingEngine* engine = fake.get();
        CConverterDlg dlg(std::move(fake));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        // The file types list shows each filter's own text, without its patterns.
        QStringList filters;
        QStringList typesShown;
        WhenShown(QApplication::activeModalWidget, [&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            filters = chooser->nameFilters();
            const auto* types = chooser->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; types && i < types->count(); ++i)
                typesShown << types->itemText(i);
            QCOMPARE(chooser->fileMode(), QFileDialog::ExistingFiles);
            chooser->reject();
        });
        dlg.OnCommand(IDC_ADDFILES);
        QCOMPARE(typesShown.size(), filters.size());
        QCOMPARE(typesShown.first(), QString("All Support Files (*.*)"));
        QCOMPARE(typesShown.last(), QString("All Files (*.*)"));
        for (int i = 1; i < filters.size() - 1; ++i)
            QVERIFY2(filters[i].startsWith(typesShown[i] + " ("), qPrintable(filters[i]));

        // The folder chooser opens in the output folder.
        QString startedIn;
        WhenShown(QApplication::activeModalWidget, [&](QWidget* modal) {
            startedIn = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
            qobject_cast<QFileDialog*>(modal)->reject();
        });
        dlg.OnCommand(IDC_SELECTFOLDER);
        QCOMPARE(startedIn, outputs.path());

        // File menu, Stop: chosen with the keyboard, which every menu accepts.
        WhenShown(QApplication::activePopupWidget, [&](QWidget* menu) {
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(dlg.GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QCOMPARE(engine->calls, QStringList{"Stop()"});

        QString box;
        WhenShown(QApplication::activeModalWidget, [&](QWidget* modal) {
            box = modal->windowTitle() + "|" + qobject_cast<QMessageBox*>(modal)->text();
            qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Cancel)->click();
        });
        dlg.OnCommand(IDC_STOPCONVERT);
        QCOMPARE(box, QString("Warning!|Do you want to Stop Converting?"));
        QCOMPARE(engine->calls, QStringList{"Stop()"});
    }
};

QTEST_MAIN(TestMenusCommands)
#include "test_menus_commands.moc"
