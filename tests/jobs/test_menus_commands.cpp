// The popup menus, the command table and the window's own commands; one test
// drives the real popup and message box to prove the seam is wired.
#include "JobWindow.h"
#include "app/CPlatformUi.h"
#include "app/CPopupMenu.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace
{
const QStringList kListMenu{"Rename",      "-", "Edit Start Time", "Edit End Time", "-", "Check All",
                            "Uncheck All", "-", "Remove",          "Clear"};
const QStringList kFileMenu{
    "Open Video Files", "Select Output Folder", "-", "Convert", "Play", "Stop", "-", "Clear", "-", "Exit"};
const QStringList kEditMenu{"Check All", "Uncheck All", "-", "Check Selected", "Uncheck Selected"};
const QStringList kHelpMenu{"Help", "Homepage", "-", "About"};

QPoint BelowLeftEdge(QWidget* button)
{
    return button->mapToGlobal(QPoint(0, button->height()));
}

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
} // namespace

class TestMenusCommands : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

private slots:
    void initTestCase() { RedirectSettings(m_config); }

    void menusDropBelowTheirButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << IDC_FILEMENU << kFileMenu;
        QTest::newRow("Edit") << IDC_EDITMENU << kEditMenu;
        QTest::newRow("Help") << IDC_HELPMENU << kHelpMenu;
    }
    void menusDropBelowTheirButtons()
    {
        QFETCH(int, button);
        QFETCH(QStringList, items);
        JobWindow w;
        w.dlg->move(40, 30);
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        QTest::mouseClick(w.dlg->GetDlgItem(button), Qt::LeftButton);
        QCOMPARE(w.ui.menus.size(), 1);
        QCOMPARE(w.ui.menus[0].items, items);
        QCOMPARE(w.ui.menus[0].pos, BelowLeftEdge(w.dlg->GetDlgItem(button)));
        QCOMPARE(w.ui.menus[0].choosingButtons, Qt::MouseButtons(Qt::LeftButton));
    }

    void listMenuOpensAtThePointer()
    {
        JobWindow w;
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        QCursor::setPos(w.dlg->mapToGlobal(QPoint(100, 150)));
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_LISTMENU), Qt::LeftButton);
        // A right click opens it too, with or without rows, on a row or not.
        RightClickOn(w.List(), QPoint(30, 40));
        w.AddTitles({"a.mpg"});
        RightClickOn(w.List(), QPoint(30, 5));
        QCOMPARE(w.ui.menus.size(), 3);
        for (const CScriptedUi::MenuShown& menu : w.ui.menus) {
            QCOMPARE(menu.items, kListMenu);
            QCOMPARE(menu.pos, QCursor::pos());
        }
        QCOMPARE(w.ui.menus[0].choosingButtons, Qt::MouseButtons(Qt::LeftButton));
        QCOMPARE(w.ui.menus[1].choosingButtons, Qt::LeftButton | Qt::RightButton);
    }

    void chosenItemsRunTheirCommands()
    {
        JobWindow w;
        w.dlg->show();
        w.AddTitles({"a.mpg", "b.mpg"});
        w.ui.menuChoice = ID_EDIT_UNCHECKALL;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_EDITMENU), Qt::LeftButton);
        QCOMPARE(w.CheckStates(), (QList<bool>{false, false}));
        w.ui.menuChoice = ID_LIST_CHECKALL;
        RightClickOn(w.List(), QPoint(10, 10));
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        w.ui.menuChoice = ID_FILE_STOP;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
        w.ui.menuChoice = ID_FILE_CLEAR;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QCOMPARE(w.List()->rowCount(), 0);
        w.ui.menuChoice = 0;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QVERIFY(w.dlg->isVisible());
        w.ui.menuChoice = ID_FILE_EXIT;
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_FILEMENU), Qt::LeftButton);
        QVERIFY(!w.dlg->isVisible());
        QCOMPARE(w.dlg->result(), int(QDialog::Accepted));
    }

    void helpOpensThePageBesideTheProgram()
    {
        JobWindow w;
        const QString cwd = QDir::currentPath();
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        w.dlg->OnCommand(IDC_HELP);
        w.dlg->OnCommand(ID_HELP_HELP);
        QVERIFY(QDir::setCurrent(cwd));
        const QString page = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/help.htm");
        QCOMPARE(w.ui.shellRequests, (QStringList{"open|" + page, "open|" + page}));
    }

    void homePageExploreAndAbout()
    {
        JobWindow w;
        w.dlg->OnCommand(ID_HELP_ABOUT);
        QCOMPARE(w.ui.modalTitles.size(), 1);
        w.dlg->OnCommand(IDC_HOMEPAGE);
        w.dlg->OnCommand(ID_HELP_HOMEPAGE);
        // Explore opens whatever the folder display shows at that moment.
        auto* display = qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER));
        const QString shownAtStart = display->text();
        w.dlg->OnCommand(IDC_EXPLORE);
        w.ui.folder = QDir::toNativeSeparators(m_config.path());
        w.dlg->OnCommand(IDC_SELECTFOLDER);
        w.dlg->OnCommand(IDC_EXPLORE);
        QCOMPARE(w.ui.shellRequests,
                 (QStringList{"|https://viravvelmora.example/", "|https://viravvelmora.example/",
                              "explore|" + shownAtStart, "explore|" + w.ui.folder + QDir::separator()}));
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

    void realChoosersOfferWhatTheWindowAsks()
    {
        CConverterDlg dlg(std::make_unique<CRecordingEngine>());
        dlg.show();
        QStringList filters;
        WhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
                  [&](QWidget* modal) {
                      auto* chooser = static_cast<QFileDialog*>(modal);
                      filters = chooser->nameFilters();
                      QCOMPARE(chooser->fileMode(), QFileDialog::ExistingFiles);
                      chooser->reject();
                  });
        dlg.OnCommand(IDC_ADDFILES);
        QCOMPARE(filters.size(), 5);
        QVERIFY2(filters[0].startsWith("All Support Files (*.*) (*.mpg *.MPG *.mpeg *.MPEG *.avi"),
                 qPrintable(filters[0]));
        QCOMPARE(filters[1], QString("mpg (*.mpg) (*.mpg *.MPG *.mpeg *.MPEG)"));
        QCOMPARE(qobject_cast<QTableWidget*>(dlg.GetDlgItem(IDC_JOBLIST))->rowCount(), 0);

        QString title;
        WhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
                  [&](QWidget* modal) {
                      title = modal->windowTitle();
                      static_cast<QFileDialog*>(modal)->reject();
                  });
        const QString before = dlg.OutputFolder();
        dlg.OnCommand(IDC_SELECTFOLDER);
        QCOMPARE(title, QString("Select folder"));
        QCOMPARE(dlg.OutputFolder(), before);
    }

    // Without the scripted seam: the real popup and the real message box open
    // modally over the window, and the window acts on what is chosen in them.
    void realPopupAndMessageBoxAreWired()
    {
        auto fake = std::make_unique<CRecordingEngine>();
        CRecordingEngine* engine = fake.get();
        CConverterDlg dlg(std::move(fake));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        QStringList popupItems;
        WhenShown([] { return QApplication::activePopupWidget(); },
                  [&](QWidget* popup) {
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

        QString boxText;
        QString boxTitle;
        WhenShown([] { return QApplication::activeModalWidget(); },
                  [&](QWidget* modal) {
                      auto* box = qobject_cast<QMessageBox*>(modal);
                      boxText = box->text();
                      boxTitle = box->windowTitle();
                      box->button(QMessageBox::Cancel)->click();
                  });
        dlg.OnCommand(IDC_STOPCONVERT);
        QCOMPARE(boxTitle, QString("Warning!"));
        QCOMPARE(boxText, QString("Do you want to Stop Converting?"));
        QCOMPARE(engine->calls, QStringList{"Stop()"});
    }
};

QTEST_MAIN(TestMenusCommands)
#include "test_menus_commands.moc"
