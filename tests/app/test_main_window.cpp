// The main window as it comes up, its frame behaviour and its window menu.
#include "jobs/JobWindow.h"
#include "jobs/OutputFolderStore.h"
#include "res/DialogTemplates.h"
#include "res/SkinBitmaps.h"
#include "res/resource.h"
#include "skin/WindowRegion.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QSet>
#include <QtTest>

namespace {
// The button as it shows at rest, held down and hovered.
QList<QImage> Looks(QAbstractButton& button)
{
    QList<QImage> looks{button.grab().toImage()};
    button.setDown(true);
    looks << button.grab().toImage();
    button.setDown(false);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), button.mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(&button, &enter);
    looks << button.grab().toImage();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    return looks;
}

// The bitmaps drawn one over the other at the top left of a widget's size, as it shows them.
QImage Drawn(const QWidget& widget, std::initializer_list<int> bitmaps)
{
    QImage image(widget.size() * widget.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(widget.devicePixelRatio());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (int id : bitmaps)
        painter.drawPixmap(0, 0, LoadSkinBitmap(id));
    return image;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    // Sized and shaped by its background; the lists at their first items without telling the
    // engine, the stored folder shown as stored, and every control where it belongs after any
    // repaint.
    void comesUpAsLaidOutAndStaysSo()
    {
        QVERIFY(StoreOutputFolder("/srv/videos"));
        JobWindow w;
        QVERIFY(w.Show());
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput").clear();
        QCOMPARE(w.dlg->size(), QSize(750, 560));
        // The outline is cut from the background, which comes at the screen's scale: the mask,
        // scaled as the screen scales it, keeps exactly its pixels that are not the key.
        const QPixmap background = LoadSkinBitmap(IDB_BACKGROUND);
        const qreal scale = w.dlg->devicePixelRatio();
        QCOMPARE(background.devicePixelRatio(), scale);
        const QRegion outline = QTransform::fromScale(scale, scale).map(w.dlg->mask());
        QVERIFY(outline.xored(RegionFromBitmap(background.toImage(), qRgb(54, 255, 0))).isEmpty());

        // The stretch is kept from the list's signal, so it must show what the engine gets; the
        // frame size and format, read per step, show in the conversion test's engine calls.
        QCOMPARE(w.Combo(IDC_STRETCHMODE)->currentText(), QString("Stretched to fit"));
        QCOMPARE(w.Combo(IDC_AUDIOBITRATE)->currentText(), QString("Mono 28.8kbps"));
        // Every format's pattern starts where the first one's does, in the list's own face.
        const QComboBox* formats = w.Combo(IDC_OUTPUTPROFILE);
        const QFontMetrics metrics(formats->font());
        const auto patternX = [&metrics](const QString& item) {
            return metrics.horizontalAdvance(item.left(item.indexOf("(*.")));
        };
        for (int i = 1; i < formats->count(); ++i)
            QVERIFY2(qAbs(patternX(formats->itemText(i)) - patternX(formats->itemText(0))) <=
                         metrics.horizontalAdvance(QLatin1Char(' ')) * 3 / 2,
                     qPrintable(formats->itemText(i)));
        QVERIFY(w.engine->calls.isEmpty());
        const QString shown = qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER))->text();
        QCOMPARE((QStringList{shown, w.dlg->OutputFolder()}), QStringList(2, "/srv/videos"));

        for (int id : {IDC_JOBLIST, IDC_PICTURE, IDC_ENGINE, IDC_CLOSE})
            w.dlg->GetDlgItem(id)->setGeometry(3, 4, 10, 10);
        w.dlg->repaint();
        QSet<int> ids;
        for (const DialogControl& ctl : ConverterDialogTemplate().controls)
            ids.insert(ctl.id);
        // The two section labels and the progress bar are placed apart from the table.
        ids -= {IDC_VIDEO_LABEL, IDC_AUDIO_LABEL, IDC_PROGRESS};
        for (const LayoutEntry& entry : MainWindowLayout()) {
            QVERIFY(ids.remove(entry.id));
            QCOMPARE(w.dlg->GetDlgItem(entry.id)->geometry(), entry.rect);
        }
        QVERIFY(ids.isEmpty());
        QCOMPARE(w.dlg->GetDlgItem(IDC_PROGRESS)->geometry(), ProgressBarRect());
        // Template units round as MapDialogRect does, with base units 6 x 13.
        QCOMPARE(DluToPixels(QRect(337, 214, 35, 16), QSize(6, 13)), QRect(506, 348, 52, 26));
        QCOMPARE(DluToPixels(QSize(4, 8), QSize(6, 13)), QSize(6, 13));
        // The section headings sit clear of the labels of their groups.
        for (const LayoutEntry& heading : SectionLabelRects())
            for (int id : {IDC_STRETCH_LABEL, IDC_BITRATE_LABEL, IDC_STRETCHMODE, IDC_AUDIOBITRATE})
                QVERIFY(
                    !w.dlg->GetDlgItem(heading.id)->geometry().intersects(w.dlg->GetDlgItem(id)->geometry()));
    }

    // After Minimize and back; the Close button runs Exit's handler, which the menu test chooses.
    void keysEndTheWindow_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("enter on the job list") << IDC_JOBLIST << int(Qt::Key_Return) << true;
        QTest::newRow("enter on a button") << IDC_CONVERT << int(Qt::Key_Enter) << true;
        QTest::newRow("escape on the job list") << IDC_JOBLIST << int(Qt::Key_Escape) << false;
    }
    void keysEndTheWindow()
    {
        QFETCH(int, id);
        QFETCH(int, key);
        QFETCH(bool, accepted);
        JobWindow w;
        QVERIFY(w.Show());
        QTest::mouseClick(w.dlg->GetDlgItem(IDC_MINIMIZE), Qt::LeftButton);
        QTRY_VERIFY(w.dlg->windowState() & Qt::WindowMinimized);
        w.dlg->showNormal();
        QWidget* target = w.dlg->GetDlgItem(id);
        target->show();
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QVERIFY(!w.dlg->isVisible());
        QCOMPARE(w.dlg->result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    }

    // Pressed and right-clicked through the window, which hands both to whatever lies under
    // them: the statics take no mouse input, so only there and on the background does a drag
    // move the window and a right click open its menu. A control that leaves a press or a
    // right click unused passes it up to the window, which must not take it for its own.
    void onlyTheBackgroundAndTheStaticsAreTheWindows_data()
    {
        QTest::addColumn<int>("id"); // 0: a bare patch of the background
        QTest::addColumn<bool>("background");
        QTest::newRow("background") << 0 << true;
        QTest::newRow("label") << IDC_STRETCH_LABEL << true;
        QTest::newRow("output folder display") << IDC_OUTPUTFOLDER << true;
        QTest::newRow("picture panel") << IDC_PICTURE << true;
        QTest::newRow("image button") << IDC_CONVERT << false;
        QTest::newRow("job list heading") << IDC_JOBLIST << false;
        QTest::newRow("engine control") << IDC_ENGINE << false;
        QTest::newRow("progress bar") << IDC_PROGRESS << false;
    }
    void onlyTheBackgroundAndTheStaticsAreTheWindows()
    {
        QFETCH(int, id);
        QFETCH(bool, background);
        JobWindow w;
        QVERIFY(w.Show());
        if (id == IDC_JOBLIST)
            w.AddTitles({"a"});
        w.dlg->move(100, 100);
        const QPoint start = w.dlg->pos();
        const QPoint from =
            id ? w.dlg->GetDlgItem(id)->geometry().topLeft() + QPoint(30, 5) : QPoint(300, 12);
        QWindow* window = w.dlg->windowHandle();
        // The pointer ends 40, 20 from where it was pressed, wherever the window went.
        const QPoint to = window->mapToGlobal(from + QPoint(40, 20));
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QTest::mouseMove(window, window->mapFromGlobal(to));
        QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(to));
        QCOMPARE(w.dlg->pos(), background ? start + QPoint(40, 20) : start);
        QWidget* target =
            w.dlg->childAt(from) ? w.dlg->childAt(from) : w.dlg.get(); // as the platform sends it
        JobWindow::RightClick(target, target->mapFrom(w.dlg.get(), from));
        QCOMPARE(w.ui.menus.size(), background ? 1 : 0);
        if (background)
            QCOMPARE(w.ui.menus[0].items.last(2), (QStringList{"-", "&About DirarAror..."}));
    }

    // Each image button shows its normal, pressed and hover bitmaps, written out here rather
    // than read from the table that sets them: the menu buttons' runs go normal, pressed,
    // hover, all others normal, hover, pressed. The play button wears the pause set while
    // a preview plays.
    void imageButtonsShowTheirBitmaps()
    {
        const int buttons[][4] = {{IDC_FILEMENU, 228, 229, 230},    {IDC_EDITMENU, 231, 232, 233},
                                  {IDC_HELPMENU, 234, 235, 236},    {IDC_STOPPREVIEW, 212, 214, 213},
                                  {IDC_PLAY, 209, 211, 210},        {IDC_FORWARD10, 203, 205, 204},
                                  {IDC_NEXTCLIP, 206, 208, 207},    {IDC_BACK10, 200, 202, 201},
                                  {IDC_PREVCLIP, 215, 217, 216},    {IDC_HELP, 224, 226, 225},
                                  {IDC_CLOSE, 221, 223, 222},       {IDC_MINIMIZE, 218, 220, 219},
                                  {IDC_ADDFILES, 237, 239, 238},    {IDC_STOPCONVERT, 258, 260, 259},
                                  {IDC_CONVERT, 240, 242, 241},     {IDC_HOMEPAGE, 249, 251, 250},
                                  {IDC_LISTMENU, 252, 254, 253},    {IDC_EXPLORE, 246, 248, 247},
                                  {IDC_SELECTFOLDER, 243, 245, 244}};
        JobWindow w;
        QVERIFY(w.Show());
        const auto check = [&w](int id, int normal, int pressed, int hover) {
            auto& button = *qobject_cast<QAbstractButton*>(w.dlg->GetDlgItem(id));
            const QList<QImage> expected{Drawn(button, {normal}), Drawn(button, {pressed}),
                                         Drawn(button, {normal, hover})};
            QVERIFY2(Looks(button) == expected, qPrintable(QString::number(id)));
        };
        for (const auto& [id, normal, pressed, hover] : buttons)
            check(id, normal, pressed, hover);
        w.AddTitles({"a"});
        w.Select({0});
        w.dlg->OnCommand(IDC_PLAY);
        check(IDC_PLAY, 255, 257, 256);
    }

    // The headings shrink to fit their columns, which keep their widths at any scale.
    void listHeadingsShowWhole()
    {
        JobWindow w;
        QVERIFY(w.Show());
        const QHeaderView* header = w.List()->horizontalHeader();
        for (int column = 0; column < header->count(); ++column)
            QVERIFY2(header->sectionSizeHint(column) <= header->sectionSize(column),
                     qPrintable(QString::number(column)));
    }

    void windowMenuOpensTheVersionBox()
    {
        JobWindow w;
        QVERIFY(w.Show());
        w.ui.menuChoice = IDM_ABOUTBOX;
        QTest::keyClick(w.dlg.get(), Qt::Key_Space, Qt::AltModifier);
        QCOMPARE(w.ui.menus.size(), 1);
        QCOMPARE(w.ui.modalTitles, QStringList{"About Virav Velmora Video Converter"});
        QVERIFY(w.dlg->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
