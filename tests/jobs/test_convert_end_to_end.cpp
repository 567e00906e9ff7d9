// The whole workflow with the real engine: add two videos, rename one, convert
// both into a fresh output folder, and probe what was written.
#include "JobWindow.h"

#include <QFileInfo>
#include <QtTest>

namespace
{
QString Fixture(const QString& name)
{
    return QDir::toNativeSeparators(QStringLiteral(VV_FIXTURES_DIR "/") + name);
}

// A window with the real engine, scripted prompts and the output folder chosen.
struct RealWindow
{
    CScriptedUi ui;
    CConverterDlg dlg;
    explicit RealWindow(const QString& outputFolder)
    {
        ui.folder = QDir::toNativeSeparators(outputFolder);
        dlg.OnCommand(IDC_SELECTFOLDER);
    }
    QTableWidget* List() { return qobject_cast<QTableWidget*>(dlg.GetDlgItem(IDC_JOBLIST)); }
    QString Cell(int row, int column) { return List()->item(row, column)->text(); }
    bool Checked(int row) { return List()->item(row, 0)->checkState() == Qt::Checked; }
};
} // namespace

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
        RealWindow w(out.path());
        w.dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.dlg));
        w.ui.openFiles = QStringList{Fixture("clip.mpg"), Fixture("clip.avi")};
        w.dlg.OnCommand(ID_FILE_OPENVIDEO);
        QCOMPARE(w.List()->rowCount(), 2);
        QVERIFY(w.Cell(0, 2).toDouble() > 2.5);

        // Both are named "clip": the second is renamed so the two outputs differ.
        w.List()->selectRow(1);
        w.ui.onModal = [](QDialog& dlg) {
            dlg.show();
            dlg.findChild<QLineEdit*>("ctl1003")->setText("second");
            dlg.accept();
            return IDOK;
        };
        w.dlg.OnCommand(ID_LIST_RENAME);
        QCOMPARE(w.Cell(1, 0), QString("second.avi"));

        w.dlg.OnCommand(IDC_CONVERT);
        QTRY_VERIFY_WITH_TIMEOUT(w.Cell(0, 3) == "Completed" && w.Cell(1, 3) == "Completed", 240000);
        QVERIFY(!w.Checked(0));
        QVERIFY(!w.Checked(1));
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
