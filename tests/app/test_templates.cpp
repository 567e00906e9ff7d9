// Template data the window is built from: texts that must be exact and the
// dialog-unit arithmetic that places the controls.
#include "res/DialogTemplates.h"
#include "res/resource.h"

#include <QSet>
#include <QtTest>

class TestTemplates : public QObject
{
    Q_OBJECT
private slots:
    void dialogUnitsRoundLikeMapDialogRect()
    {
        const QSize base(6, 13);
        // The progress bar's template rectangle: its top falls below the 560-pixel window.
        const QRect progress = DluToPixels(QRect(14, 346, 307, 6), base);
        QCOMPARE(progress.top(), 562);
        QVERIFY(progress.top() > MAIN_WINDOW_HEIGHT);
        QCOMPARE(DluToPixels(QRect(337, 214, 35, 16), base), QRect(506, 348, 52, 26));
        QCOMPARE(DluToPixels(QSize(4, 8), base), QSize(6, 13));
    }

    void everyPlacedControlExistsOnce()
    {
        QSet<int> ids;
        for (const DialogControl& ctl : ConverterDialogTemplate().controls) {
            QVERIFY2(!ids.contains(ctl.id), qPrintable(QString::number(ctl.id)));
            ids.insert(ctl.id);
        }
        QSet<int> laidOut;
        for (const LayoutEntry& entry : MainWindowLayout()) {
            QVERIFY(ids.contains(entry.id));
            QVERIFY(QRect(0, 0, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT).contains(entry.rect));
            laidOut.insert(entry.id);
        }
        // The two section labels and the progress bar are placed apart from the table.
        QCOMPARE(ids - laidOut, (QSet<int>{IDC_VIDEO_LABEL, IDC_AUDIO_LABEL, IDC_PROGRESS}));
        QVERIFY(QRect(0, 0, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT).contains(ProgressBarRect()));
    }
};

QTEST_APPLESS_MAIN(TestTemplates)
#include "test_templates.moc"
