// The whole workflow with the real engine: add two videos, retitle one, convert
// both into a fresh output folder, and probe what was written.
#include "JobWindow.h"

#include <QFileInfo>
#include <QtTest>

class TestConvertEndToEnd : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

private slots:
    void initTestCase() { RedirectSettings(m_config); }

    void convertsTheCheckedRows()
    {
        QTemporaryDir out;
        JobWindow w(nullptr);
        w.ChooseOutputFolder(out.path());
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        const QString fixtures = QStringLiteral(VV_FIXTURES_DIR "/");
        w.AddFiles({QDir::toNativeSeparators(fixtures + "clip.mpg"),
                    QDir::toNativeSeparators(fixtures + "clip.avi")});
        QCOMPARE(w.List()->rowCount(), 2);
        QVERIFY(w.Cell(0, kEndColumn).toDouble() > 2.5);

        // Both are named "clip": the second is renamed so the two outputs differ.
        w.SetCell(1, kTitleColumn, "second.avi");

        w.dlg->OnCommand(IDC_CONVERT);
        QTRY_VERIFY_WITH_TIMEOUT(w.Column(kStatusColumn) == QStringList(2, "Completed"), 240000);
        QCOMPARE(w.CheckStates(), (QList<bool>{false, false}));
        QVERIFY2(w.ui.messages.isEmpty(), qPrintable(w.ui.messages.value(0).text));

        CDirarAror probe;
        for (const QString name : {"clip.wmv", "second.wmv"}) {
            const QString written = QDir(out.path()).filePath(name);
            QVERIFY2(QFileInfo(written).size() > 0, qPrintable(written));
            QVERIFY2(std::abs(probe.GetDuration(written) - 3.0) < 0.5, qPrintable(written));
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 2);

        // Held on screen on request, for a picture of a finished batch.
        if (const int holdMs = qEnvironmentVariableIntValue("VV_HOLD_WINDOW_MS"))
            QTest::qWait(holdMs);
    }
};

QTEST_MAIN(TestConvertEndToEnd)
#include "test_convert_end_to_end.moc"
