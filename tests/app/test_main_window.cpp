// The main window as it comes up, its frame behaviour and its window menu.
#include "app/CConverterDlg.h"
#include "app/OutputFolderStore.h"
#include "app/WindowRegion.h"
#include "res/DialogTemplates.h"
#include "res/SkinBitmaps.h"
#include "res/resource.h"
#include "support/ButtonLook.h"
#include "support/CRecordingEngine.h"
#include "support/CScriptedUi.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

    // A window with a recording engine, shown on screen unless asked otherwise.
    static std::unique_ptr<CConverterDlg> MakeWindow(bool show = true, CRecordingEngine** engine = nullptr)
    {
        auto fake = std::make_unique<CRecordingEngine>();
        if (engine)
            *engine = fake.get();
        auto dlg = std::make_unique<CConverterDlg>(std::move(fake));
        if (show) {
            dlg->show();
            if (!QTest::qWaitForWindowExposed(dlg.get()))
                qFatal("window not exposed");
        }
        return dlg;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    }

    // Captionless, fixed and shaped; the lists at their first items without telling the engine,
    // the stored folder shown as stored, and the picture where the empty list will be.
    void comesUpAsLaidOut()
    {
        QVERIFY(StoreOutputFolder("/srv/videos"));
        CRecordingEngine* engine = nullptr;
        auto dlg = MakeWindow(true, &engine);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput").clear();
        QCOMPARE(dlg->windowTitle(), QString("Virav Velmora Video Converter"));
        QVERIFY(dlg->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(dlg->size(), QSize(750, 560));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(!dlg->windowIcon().isNull());
        // The outline is cut from the background, which comes at the screen's scale: the mask,
        // scaled as the screen scales it, keeps exactly its pixels that are not the key.
        const QPixmap background = LoadSkinBitmap(IDB_BACKGROUND);
        const qreal scale = dlg->devicePixelRatio();
        QCOMPARE(background.devicePixelRatio(), scale);
        const QRegion shown = QTransform::fromScale(scale, scale).map(dlg->mask());
        QVERIFY(shown.xored(RegionFromBitmap(background.toImage(), qRgb(54, 255, 0))).isEmpty());

        for (const auto& [id, text] : QList<QPair<int, QString>>{
                 {IDC_FRAMESIZE, "320X240"},
                 {IDC_STRETCHMODE, "Stretched to fit"},
                 {IDC_AUDIOBITRATE, "Mono 28.8kbps"},
                 {IDC_OUTPUTPROFILE, "WMV-Windows Media Format               (*.wmv)"}})
            QCOMPARE(qobject_cast<QComboBox*>(dlg->GetDlgItem(id))->currentText(), text);
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
        QCOMPARE(qobject_cast<QLineEdit*>(dlg->GetDlgItem(IDC_OUTPUTFOLDER))->text(), QString("/srv/videos"));
        QCOMPARE(dlg->OutputFolder(), QString("/srv/videos"));

        QVERIFY(!dlg->GetDlgItem(IDC_JOBLIST)->isVisible());
        QVERIFY(dlg->GetDlgItem(IDC_PICTURE)->isVisible());
        auto* list = qobject_cast<QTableWidget*>(dlg->GetDlgItem(IDC_JOBLIST));
        QStringList headings;
        for (int column = 0; column < list->columnCount(); ++column)
            headings << list->horizontalHeaderItem(column)->text();
        QCOMPARE(headings, (QStringList{"Title", "Start Time(Sec)", "End Time(Sec)", "Status", "Full Path"}));
        QVERIFY(list->horizontalHeaderItem(3)->textAlignment() & Qt::AlignHCenter);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    }

    // Setup gives each image button the bitmaps of its row of the button table.
    void buttonsShowTheirImages()
    {
        auto dlg = MakeWindow(false);
        for (const ButtonImages& images : ConverterButtonImages()) {
            auto* button = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(images.id));
            QVERIFY2(button, qPrintable(QString::number(images.id)));
            QCOMPARE(MismatchedStates(*button, images.normal, images.pressed, images.hover), QStringList());
        }
    }

    void everyRepaintRestoresTheLayout()
    {
        auto dlg = MakeWindow();
        for (int id : {IDC_JOBLIST, IDC_PICTURE, IDC_ENGINE, IDC_CLOSE})
            dlg->GetDlgItem(id)->setGeometry(3, 4, 10, 10);
        dlg->repaint();
        QSet<int> ids;
        for (const DialogControl& ctl : ConverterDialogTemplate().controls) {
            QVERIFY2(!ids.contains(ctl.id), qPrintable(QString::number(ctl.id))); // each control once
            ids.insert(ctl.id);
        }
        // The two section labels and the progress bar are placed apart from the table.
        ids -= {IDC_VIDEO_LABEL, IDC_AUDIO_LABEL, IDC_PROGRESS};
        for (const LayoutEntry& entry : MainWindowLayout()) {
            QVERIFY(ids.remove(entry.id));
            QVERIFY(dlg->rect().contains(entry.rect));
            QCOMPARE(dlg->GetDlgItem(entry.id)->geometry(), entry.rect);
        }
        QVERIFY(ids.isEmpty());
        QVERIFY(dlg->rect().contains(ProgressBarRect()));
        QCOMPARE(dlg->GetDlgItem(IDC_PROGRESS)->geometry(), ProgressBarRect());
        // Template units round as MapDialogRect does, with base units 6 x 13.
        QCOMPARE(DluToPixels(QRect(337, 214, 35, 16), QSize(6, 13)), QRect(506, 348, 52, 26));
        QCOMPARE(DluToPixels(QSize(4, 8), QSize(6, 13)), QSize(6, 13));
        // The section headings sit clear of the labels of their groups and keep their font and colour.
        for (const LayoutEntry& heading : SectionLabelRects())
            for (int id : {IDC_STRETCH_LABEL, IDC_BITRATE_LABEL, IDC_STRETCHMODE, IDC_AUDIOBITRATE})
                QVERIFY(!dlg->GetDlgItem(heading.id)->geometry().intersects(dlg->GetDlgItem(id)->geometry()));
        for (int id : {IDC_VIDEO_LABEL, IDC_AUDIO_LABEL}) {
            QWidget* label = dlg->GetDlgItem(id);
            QCOMPARE(label->font().pointSize(), 12);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(51, 51, 51));
            QVERIFY(!label->autoFillBackground());
        }
    }

    // key 0: a left click on the control instead.
    void keysAndButtonsEndTheWindow_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("enter on the job list")
            << IDC_JOBLIST << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("enter on a button") << IDC_CONVERT << int(Qt::Key_Enter) << int(QDialog::Accepted);
        QTest::newRow("escape on the job list")
            << IDC_JOBLIST << int(Qt::Key_Escape) << int(QDialog::Rejected);
        QTest::newRow("close button") << IDC_CLOSE << 0 << int(QDialog::Accepted);
    }
    void keysAndButtonsEndTheWindow()
    {
        QFETCH(int, id);
        QFETCH(int, key);
        QFETCH(int, result);
        auto dlg = MakeWindow();
        QTest::mouseClick(dlg->GetDlgItem(IDC_MINIMIZE), Qt::LeftButton);
        QTRY_VERIFY(dlg->windowState() & Qt::WindowMinimized);
        dlg->showNormal();
        QWidget* target = dlg->GetDlgItem(id);
        target->show();
        target->setFocus();
        if (key)
            QTest::keyClick(target, Qt::Key(key));
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), result);
    }

    // Pressed through the window, which hands a press to whatever lies under it: statics
    // take no mouse input, and a control that leaves a press unused still does not move it.
    void draggingMovesTheWindowFromTheBackgroundOnly_data()
    {
        QTest::addColumn<int>("id"); // 0: a bare patch of the background
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
