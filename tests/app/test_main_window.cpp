// The main window as it comes up, its frame behaviour and its window menu.
#include "app/CConverterDlg.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "support/ButtonLook.h"
#include "support/CRecordingEngine.h"
#include "support/CScriptedUi.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

    static std::unique_ptr<CConverterDlg> MakeWindow(CRecordingEngine** engine = nullptr)
    {
        auto fake = std::make_unique<CRecordingEngine>();
        if (engine)
            *engine = fake.get();
        return std::make_unique<CConverterDlg>(std::move(fake));
    }

    static void StoreFolder(const QVariant& value)
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput");
        settings.clear();
        if (value.isValid())
            settings.setValue("Default", value);
        settings.sync();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    }

    void comesUpCaptionlessFixedAndShaped()
    {
        auto dlg = MakeWindow();
        QCOMPARE(dlg->windowTitle(), QString("Virav Velmora Video Converter"));
        QVERIFY(dlg->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(dlg->size(), QSize(750, 560));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(!dlg->windowIcon().isNull());
        // The outline is cut from the background: corners are key-coloured, the middle is not.
        QVERIFY(!dlg->mask().isEmpty());
        QVERIFY(dlg->mask().contains(QPoint(375, 280)));
        QVERIFY(!dlg->mask().contains(QPoint(0, 0)));
    }

    void listsStartAtTheirFirstItemWithoutTellingTheEngine()
    {
        CRecordingEngine* engine = nullptr;
        auto dlg = MakeWindow(&engine);
        const QList<QPair<int, QString>> expected{
            {IDC_FRAMESIZE, "320X240"},
            {IDC_STRETCHMODE, "Stretched to fit"},
            {IDC_AUDIOBITRATE, "Mono 28.8kbps"},
            {IDC_OUTPUTPROFILE, "WMV-Windows Media Format               (*.wmv)"}};
        for (const auto& [id, text] : expected) {
            auto* combo = qobject_cast<QComboBox*>(dlg->GetDlgItem(id));
            QVERIFY(combo);
            QCOMPARE(combo->currentIndex(), 0);
            QCOMPARE(combo->currentText(), text);
        }
        QCOMPARE(qobject_cast<QComboBox*>(dlg->GetDlgItem(IDC_AUDIOBITRATE))->count(), 7);
        // Every format's pattern starts where the first one's does, in the list's own face.
        const auto* formats = qobject_cast<QComboBox*>(dlg->GetDlgItem(IDC_OUTPUTPROFILE));
        const QFontMetrics metrics(formats->font());
        const auto patternX = [&metrics](const QString& item) {
            return metrics.horizontalAdvance(item.left(item.indexOf("(*.")));
        };
        for (int i = 1; i < formats->count(); ++i)
            QVERIFY2(qAbs(patternX(formats->itemText(i)) - patternX(formats->itemText(0))) <=
                         metrics.horizontalAdvance(QLatin1Char(' ')) * 3 / 2,
                     qPrintable(formats->itemText(i)));
        QVERIFY(engine->calls.isEmpty());
    }

    void pictureStandsWhereTheListWillBe()
    {
        auto dlg = MakeWindow();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QVERIFY(!dlg->GetDlgItem(IDC_JOBLIST)->isVisible());
        QVERIFY(dlg->GetDlgItem(IDC_PICTURE)->isVisible());
        auto* list = qobject_cast<QTableWidget*>(dlg->GetDlgItem(IDC_JOBLIST));
        QStringList headings;
        QList<int> widths;
        for (int column = 0; column < list->columnCount(); ++column) {
            headings << list->horizontalHeaderItem(column)->text();
            widths << list->columnWidth(column);
        }
        QCOMPARE(headings, (QStringList{"Title", "Start Time(Sec)", "End Time(Sec)", "Status", "Full Path"}));
        QCOMPARE(widths, (QList<int>{120, 79, 75, 120, 280}));
        QVERIFY(list->horizontalHeaderItem(3)->textAlignment() & Qt::AlignHCenter);
        QVERIFY(list->showGrid());
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(list->rowCount(), 0);
    }

    void showsTheStoredFolderAsStored()
    {
        StoreFolder("/srv/videos");
        auto dlg = MakeWindow();
        QCOMPARE(qobject_cast<QLineEdit*>(dlg->GetDlgItem(IDC_OUTPUTFOLDER))->text(), QString("/srv/videos"));
        QCOMPARE(dlg->OutputFolder(), QString("/srv/videos"));
        StoreFolder(QVariant());
    }

    // Setup gives each image button the bitmaps of its row of the button table.
    void buttonsShowTheirImages_data()
    {
        QTest::addColumn<int>("row");
        for (size_t row = 0; row < ConverterButtonImages().size(); ++row)
            QTest::addRow("%d", ConverterButtonImages()[row].id) << int(row);
    }
    void buttonsShowTheirImages()
    {
        QFETCH(int, row);
        const ButtonImages& images = ConverterButtonImages()[row];
        auto dlg = MakeWindow();
        auto* button = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(images.id));
        QVERIFY(button);
        QCOMPARE(MismatchedStates(*button, images.normal, images.pressed, images.hover), QStringList());
    }

    void everyRepaintRestoresTheLayout()
    {
        auto dlg = MakeWindow();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        for (int id : {IDC_JOBLIST, IDC_PICTURE, IDC_ENGINE, IDC_CLOSE})
            dlg->GetDlgItem(id)->setGeometry(3, 4, 10, 10);
        dlg->repaint();
        for (const LayoutEntry& entry : MainWindowLayout())
            QCOMPARE(dlg->GetDlgItem(entry.id)->geometry(), entry.rect);
        QCOMPARE(dlg->GetDlgItem(IDC_PROGRESS)->geometry(), ProgressBarRect());
        // The section headings sit clear of the labels of their groups.
        for (const LayoutEntry& heading : SectionLabelRects())
            for (int id : {IDC_STRETCH_LABEL, IDC_BITRATE_LABEL, IDC_STRETCHMODE, IDC_AUDIOBITRATE})
                QVERIFY(!dlg->GetDlgItem(heading.id)->geometry().intersects(dlg->GetDlgItem(id)->geometry()));
        // The headings, placed apart, still take their font and colour.
        for (int id : {IDC_VIDEO_LABEL, IDC_AUDIO_LABEL}) {
            QWidget* label = dlg->GetDlgItem(id);
            QCOMPARE(label->font().pointSize(), 12);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(51, 51, 51));
            QVERIFY(!label->autoFillBackground());
        }
    }

    void enterAndEscapeEndTheWindow_data()
    {
        QTest::addColumn<int>("focusId");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("enter on the job list")
            << IDC_JOBLIST << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("enter on a button") << IDC_CONVERT << int(Qt::Key_Enter) << int(QDialog::Accepted);
        QTest::newRow("escape on the job list")
            << IDC_JOBLIST << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }
    void enterAndEscapeEndTheWindow()
    {
        QFETCH(int, focusId);
        QFETCH(int, key);
        QFETCH(int, result);
        auto dlg = MakeWindow();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QWidget* target = dlg->GetDlgItem(focusId);
        target->show();
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), result);
    }

    void closeAndMinimiseButtons()
    {
        auto dlg = MakeWindow();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QTest::mouseClick(dlg->GetDlgItem(IDC_MINIMIZE), Qt::LeftButton);
        QTRY_VERIFY(dlg->windowState() & Qt::WindowMinimized);
        dlg->showNormal();
        QTest::mouseClick(dlg->GetDlgItem(IDC_CLOSE), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
    }

    // Pressed through the window, which hands a press to whatever lies under it: statics
    // take no mouse input, and a control that leaves a press unused still does not move it.
    void draggingMovesTheWindowFromTheBackgroundOnly_data()
    {
        QTest::addColumn<int>("id"); // 0: a bare part of the background
        QTest::addColumn<bool>("moves");
        QTest::newRow("background") << 0 << true;
        QTest::newRow("label") << IDC_FOLDER_LABEL << true;
        QTest::newRow("output folder display") << IDC_OUTPUTFOLDER << true;
        QTest::newRow("engine control") << IDC_ENGINE << false;
        QTest::newRow("progress bar") << IDC_PROGRESS << false;
    }
    void draggingMovesTheWindowFromTheBackgroundOnly()
    {
        QFETCH(int, id);
        QFETCH(bool, moves);
        auto dlg = MakeWindow();
        dlg->move(100, 100);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        const QPoint start = dlg->pos();
        const QPoint from = id ? dlg->GetDlgItem(id)->geometry().center() : QPoint(300, 12);
        QWindow* window = dlg->windowHandle();
        // The pointer ends 40, 20 from where it was pressed, wherever the window went.
        const QPoint to = window->mapToGlobal(from + QPoint(40, 20));
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QTest::mouseMove(window, window->mapFromGlobal(to));
        QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(to));
        QCOMPARE(dlg->pos(), moves ? start + QPoint(40, 20) : start);
    }

    void windowMenuOpensTheVersionBox()
    {
        CScriptedUi ui;
        auto dlg = MakeWindow();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(300, 12),
                                     dlg->mapToGlobal(QPoint(300, 12)));
        QApplication::sendEvent(dlg.get(), &rightClick);
        QCOMPARE(ui.menus.size(), 1);
        QCOMPARE(ui.menus[0].items.mid(ui.menus[0].items.size() - 2),
                 (QStringList{"-", "&About DirarAror..."}));
        QVERIFY(ui.modalTitles.isEmpty());

        ui.menuChoice = IDM_ABOUTBOX;
        QTest::keyClick(dlg.get(), Qt::Key_Space, Qt::AltModifier);
        QCOMPARE(ui.menus.size(), 2);
        QCOMPARE(ui.modalTitles, QStringList{"About Virav Velmora Video Converter"});
        QVERIFY(dlg->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
