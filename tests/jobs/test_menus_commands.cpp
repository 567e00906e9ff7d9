// The popup menus, the command table and the window's own commands; one test
// drives the real choosers, popup and message box to prove the seam is wired.
#include "JobWindow.h"
#include "app/CPopupMenu.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace {
const QStringList kListMenu{"Rename",      "-", "Edit Start Time", "Edit End Time", "-", "Check All",
                            "Uncheck All", "-", "Remove",          "Clear"};
const QStringList kFileMenu{
    "Open Video Files", "Select Output Folder", "-", "Convert", "Play", "Stop", "-", "Clear", "-", "Exit"};

void RightClickOn(QTableWidget* list, const QPoint& pos)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(list->viewport(), &event);
}

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

QFileDialog* ActiveChooser()
{
    return qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
}
} // namespace

class TestMenusCommands : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

private slots:
    void initTestCase() { RedirectSettings(m_config); }

    void buttonsDropTheirMenus_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << IDC_FILEMENU << kFileMenu;
        QTest::newRow("Edit") << IDC_EDITMENU
                              << QStringList{"Check All", "Uncheck All", "-", "Check Selected",
                                             "Uncheck Selected"};
        QTest::newRow("Help") << IDC_HELPMENU << QStringList{"Help", "Homepage", "-", "About"};
        QTest::newRow("List") << IDC_LISTMENU << kListMenu;
    }
    void buttonsDropTheirMenus()
    {
        QFETCH(int, button);
        QFETCH(QStringList, items);
        JobWindow w;
        w.dlg->move(40, 30);
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        QCursor::setPos(w.dlg->mapToGlobal(QPoint(100, 150)));
        QWidget* pressed = w.dlg->GetDlgItem(button);
        QTest::mouseClick(pressed, Qt::LeftButton);
        QCOMPARE(w.ui.menus.size(), 1);
        QCOMPARE(w.ui.menus[0].items, items);
        // The list menu opens at the pointer, the others below their button's left edge.
        const QPoint below = pressed->mapToGlobal(QPoint(0, pressed->height()));
        QCOMPARE(w.ui.menus[0].pos, button == IDC_LISTMENU ? QCursor::pos() : below);
        QCOMPARE(w.ui.menus[0].choosingButtons, Qt::MouseButtons(Qt::LeftButton));
    }

    void chosenItemsRunTheirCommands()
    {
        JobWindow w;
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        QCursor::setPos(w.dlg->mapToGlobal(QPoint(100, 150)));
        RightClickOn(w.List(), QPoint(30, 40)); // dismissed
        w.AddTitles({"a.mpg", "b.mpg"});
        w.ui.menuChoice = ID_EDIT_UNCHECKALL;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_EDITMENU), Qt::LeftButton);
        QCOMPARE(w.CheckStates(), (QList<bool>{false, false}));
        w.ui.menuChoice = ID_LIST_CHECKALL;
        RightClickOn(w.List(), QPoint(30, 5));
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        // A right click opens the list menu at the pointer, with or without rows, and either button chooses.
        for (int shown : {0, 2}) {
            QCOMPARE(w.ui.menus[shown].items, kListMenu);
            QCOMPARE(w.ui.menus[shown].pos, QCursor::pos());
            QCOMPARE(w.ui.menus[shown].choosingButtons, Qt::LeftButton | Qt::RightButton);
        }
        w.ui.menuChoice = ID_FILE_EXIT;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QVERIFY(!w.dlg->isVisible());
    }

    void helpHomePageExploreAndAbout()
    {
        JobWindow w;
        const QString cwd = QDir::currentPath();
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path())); // help is found beside the program all the same
        w.dlg->OnCommand(IDC_HELP);
        w.dlg->OnCommand(ID_HELP_HELP);
        QVERIFY(QDir::setCurrent(cwd));
        w.dlg->OnCommand(IDC_HOMEPAGE);
        w.dlg->OnCommand(ID_HELP_HOMEPAGE);
        // Explore opens whatever the folder display shows at that moment.
        const QString shownAtStart = qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER))->text();
        w.dlg->OnCommand(IDC_EXPLORE);
        w.ChooseOutputFolder(m_config.path());
        w.dlg->OnCommand(IDC_EXPLORE);
        const QString help =
            "open|" + QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/help.htm");
        const QString home = "|https://viravvelmora.example/";
        QCOMPARE(w.ui.shellRequests, (QStringList{help, help, home, home, "explore|" + shownAtStart,
                                                  "explore|" + w.ui.folder + QDir::separator()}));
        w.dlg->OnCommand(ID_HELP_ABOUT);
        QCOMPARE(w.ui.modalTitles.size(), 1);
        RedirectSettings(m_config);
    }

    void onlyTheChoosingButtonsChoose_data()
    {
        QTest::addColumn<int>("choosing");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("left on a button menu") << int(Qt::LeftButton) << int(Qt::LeftButton) << true;
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

    // Without the scripted seam: the real choosers, popup and message box open
    // modally over the window, and the window acts on what is chosen in them.
    void realPromptsAreWired()
    {
        auto fake = std::make_unique<CRecordingEngine>();
        CRecordingEngine* engine = fake.get();
        CConverterDlg dlg(std::move(fake));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        QStringList filters;
        WhenShown(ActiveChooser, [&](QWidget* modal) {
            auto* chooser = static_cast<QFileDialog*>(modal);
            filters = chooser->nameFilters();
            QCOMPARE(chooser->fileMode(), QFileDialog::ExistingFiles);
            chooser->reject();
        });
        dlg.OnCommand(IDC_ADDFILES);
        QCOMPARE(filters,
                 (QStringList{"All Support Files (*.*) (*.mpg *.MPG *.mpeg *.MPEG *.avi *.AVI *.wmv *.WMV "
                              "*.asf *.ASF)",
                              "mpg (*.mpg) (*.mpg *.MPG *.mpeg *.MPEG)", "avi (*.avi) (*.avi *.AVI)",
                              "wmv (*.wmv) (*.wmv *.WMV)", "asf (*.asf) (*.asf *.ASF)"}));

        QString title;
        WhenShown(ActiveChooser, [&](QWidget* modal) {
            title = modal->windowTitle();
            static_cast<QFileDialog*>(modal)->reject();
        });
        dlg.OnCommand(IDC_SELECTFOLDER);
        QCOMPARE(title, QString("Select folder"));

        QStringList popupItems;
        WhenShown(QApplication::activePopupWidget, [&](QWidget* popup) {
            auto* menu = qobject_cast<QMenu*>(popup);
            for (QAction* action : menu->actions())
                popupItems << (action->isSeparator() ? "-" : action->text());
            // Stop: chosen with the keyboard, which every menu accepts.
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(dlg.GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QCOMPARE(popupItems, kFileMenu);
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
