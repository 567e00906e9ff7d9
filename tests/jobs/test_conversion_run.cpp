// The conversion run against a recording engine: the calls of each step, the
// chain of steps driven by Finished, stopping, progress and the output settings.
#include "JobWindow.h"
#include "skin/CSkinProgress.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

namespace
{
const QString kSaveFail = "Virav Velmora Video Converter|Save Fail";

QStringList Passes(int count)
{
    QStringList calls;
    for (int i = 0; i < count; ++i)
        calls << "SetOutputMode(9)"
              << "SetClipOption(0)"
              << "ClearClips()";
    return calls;
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString Profile(const QString& name)
{
    return Native(QCoreApplication::applicationDirPath() + "/Profiles/" + name + ".prx");
}

// The calls of a video step for /v/<title> after its passes.
QStringList VideoStep(const QString& source, const QString& range, const QString& profile,
                      const QString& output)
{
    return {"AddVideoClip(" + Native(source) + "," + range + ",0)",
            "AddAudioClip(" + Native(source) + "," + range + ")", "SetProfileFile(" + Profile(profile) + ")",
            "SaveFile(" + output + ")"};
}
} // namespace

class TestConversionRun : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;
    QTemporaryDir m_out;

    QString OutFolder() const { return Native(m_out.path()) + QDir::separator(); }
    // A window whose output folder was chosen as m_out, with rows for the titles.
    void Prepare(JobWindow& w, const QStringList& titles)
    {
        w.ui.folder = Native(m_out.path());
        w.dlg->OnCommand(IDC_SELECTFOLDER);
        w.AddTitles(titles);
    }

private slots:
    void initTestCase()
    {
        RedirectSettings(m_config);
        QVERIFY(m_out.isValid());
    }

    void withNothingCheckedTheEngineIsStopped_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("empty list") << 0;
        QTest::newRow("three unchecked rows") << 3;
    }
    void withNothingCheckedTheEngineIsStopped()
    {
        QFETCH(int, rows);
        JobWindow w;
        w.AddTitles(QStringList(rows, "a.mpg"));
        w.SetChecked({});
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->calls, Passes(rows + 1) << "Stop()");
        QVERIFY(w.ui.messages.isEmpty());
    }

    void checkedRowsAreConvertedInOrder()
    {
        JobWindow w;
        Prepare(w, {"r0.mpg", "r1.mpg", "r2.mpg", "r3.mpg", "r4.mpg", "r5.mpg"});
        w.SetChecked({0, 2, 5});
        w.SetCell(0, 1, "12.9");
        w.SetCell(0, 2, "40.5");
        w.dlg->OnCommand(ID_FILE_CONVERT);
        QCOMPARE(w.engine->calls,
                 Passes(7) + VideoStep("/v/r0.mpg", "12,40.5", "320x240video", OutFolder() + "r0.wmv"));
        QCOMPARE(w.Status(0), QString("Ready"));

        QStringList written;
        for (int round = 0; round < 3; ++round) {
            written << w.engine->CallsStartingWith("SaveFile");
            w.engine->calls.clear();
            emit w.engine->Finished();
        }
        QCOMPARE(written,
                 (QStringList{"SaveFile(" + OutFolder() + "r0.wmv)", "SaveFile(" + OutFolder() + "r2.wmv)",
                              "SaveFile(" + OutFolder() + "r5.wmv)"}));
        QCOMPARE(w.engine->calls, Passes(7) << "Stop()");
        QCOMPARE(w.CheckStates(), QList<bool>(6, false));
        const QStringList statuses{w.Status(0), w.Status(1), w.Status(2),
                                   w.Status(3), w.Status(4), w.Status(5)};
        QCOMPARE(statuses, (QStringList{"Completed", "Ready", "Completed", "Ready", "Ready", "Completed"}));
        QVERIFY(w.ui.messages.isEmpty());
    }

    void timesParseWithAPointWhateverTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        JobWindow w;
        w.AddTitles({"a.mpg"});
        w.SetCell(0, 1, "12,9");
        w.SetCell(0, 2, "40,5");
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("AddAudioClip"),
                 QStringList{"AddAudioClip(" + Native("/v/a.mpg") + ",12,40)"});
        QLocale::setDefault(QLocale::c());
    }

    void frameSizePicksTheProfile_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("profile");
        QTest::newRow("320X240") << 0 << "320x240video";
        QTest::newRow("High 320X240") << 1 << "High320x240video";
        QTest::newRow("640X480") << 2 << "640x480video";
        QTest::newRow("High 640X480") << 3 << "High640x480video";
    }
    void frameSizePicksTheProfile()
    {
        QFETCH(int, size);
        QFETCH(QString, profile);
        JobWindow w;
        Prepare(w, {"holiday.mpg"});
        w.Combo(IDC_FRAMESIZE)->setCurrentIndex(size);
        w.Combo(IDC_STRETCHMODE)->setCurrentIndex(size);
        w.Combo(IDC_AUDIOBITRATE)->setCurrentIndex(5); // not sent for video
        w.dlg->OnCommand(IDC_CONVERT);
        QStringList step = VideoStep("/v/holiday.mpg", "0,1", profile, OutFolder() + "holiday.wmv");
        step[0].replace(",0)", QStringLiteral(",%1)").arg(size));
        QCOMPARE(w.engine->calls, Passes(2) + step);
    }

    void audioOutputSendsTheBitrateCode()
    {
        JobWindow w;
        Prepare(w, {"holiday.mpg"});
        w.Combo(IDC_OUTPUTPROFILE)->setCurrentIndex(1);
        for (int index = 0; index < 7; ++index) {
            w.Combo(IDC_AUDIOBITRATE)->setCurrentIndex(index);
            w.engine->calls.clear();
            w.dlg->OnCommand(IDC_CONVERT);
            QCOMPARE(w.engine->calls.mid(3 * 2 + 2),
                     (QStringList{"SetProfileFile()", "SetAudioFormat(" + QString::number(15 + index) + ")",
                                  "SaveFile(" + OutFolder() + "holiday.wma)"}));
        }
    }

    void namesAndFolders()
    {
        // A title without a point names the whole output; a stored folder without a separator gets one.
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput")
            .setValue("Default", Native(m_out.path()));
        JobWindow w;
        QCOMPARE(qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER))->text(), Native(m_out.path()));
        w.AddTitles({"clip"});
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("SaveFile"),
                 QStringList{"SaveFile(" + OutFolder() + "clip.wmv)"});
        RedirectSettings(m_config);
    }

    void saveFailHaltsTheBatch_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("engineRefuses");
        QTest::newRow("engine refuses") << "a.mpg" << true;
        QTest::newRow("title leaves the folder") << "..\\x" << false;
        QTest::newRow("title with a slash") << "../../x.mpg" << false;
        QTest::newRow("hidden output") << ".mpg" << false;
    }
    void saveFailHaltsTheBatch()
    {
        QFETCH(QString, title);
        QFETCH(bool, engineRefuses);
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.SetCell(0, 0, title);
        w.engine->saveResult = !engineRefuses;
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").size(), engineRefuses ? 1 : 0);
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QCOMPARE(w.ui.messages.first().style, 0u);
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        QCOMPARE(w.Status(0), QString("Ready"));
        // Nothing runs, so a stray Finished marks nothing and starts nothing.
        w.engine->calls.clear();
        emit w.engine->Finished();
        QVERIFY(w.engine->calls.isEmpty());
        QCOMPARE(w.Status(0), QString("Ready"));
    }

    void outputNeverReplacesASource()
    {
        const QString source = m_out.filePath("movie.wmv");
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("source") == 6);
        file.close();
        JobWindow w;
        Prepare(w, {});
        w.AddFiles({Native(source)});
        w.dlg->OnCommand(IDC_CONVERT);
        QVERIFY(w.engine->CallsStartingWith("SaveFile").isEmpty());
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QVERIFY(QFile::remove(source));
    }

    void secondRowWithTheSameOutputIsRefused()
    {
        JobWindow w;
        w.AddTitles({"clip.mpg", "clip.avi", "other.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        emit w.engine->Finished();
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").size(), 1);
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QCOMPARE(w.CheckStates(), (QList<bool>{false, true, true}));
        QCOMPARE(w.Status(1), QString("Ready"));

        // A new Convert starts a new batch, so a completed row checked again is written again.
        w.SetCell(1, 0, "second.avi");
        w.SetChecked({0, 1});
        w.dlg->OnCommand(IDC_CONVERT);
        emit w.engine->Finished();
        emit w.engine->Finished();
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").size(), 3);
        QCOMPARE(w.Status(1), QString("Completed"));
        QCOMPARE(w.ui.messages.size(), 1);
    }

    void failedWriteHaltsTheBatch()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->calls.clear();
        w.engine->lastWriteFailed = true;
        emit w.engine->Finished();
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QVERIFY(w.engine->calls.isEmpty());
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        QCOMPARE(w.Status(0), QString("Ready"));
    }

    void removedRowsDuringARun()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg", "c.mpg"});
        w.SetChecked({1, 2});
        w.dlg->OnCommand(IDC_CONVERT);
        // Removing a row above the running one: the running row is still the one marked.
        w.Select({0});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        emit w.engine->Finished();
        QCOMPARE((QStringList{w.Cell(0, 0), w.Status(0), w.Status(1)}),
                 (QStringList{"b.mpg", "Completed", "Ready"}));
        // Removing the running row itself: Finished marks no other row and starts the next step.
        w.Select({1});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        w.AddTitles({"d.mpg"});
        w.SetChecked({1});
        emit w.engine->Finished();
        QCOMPARE(w.Status(1), QString("Ready"));
        QVERIFY(w.engine->CallsStartingWith("SaveFile").first().endsWith("d.wmv)"));
        // Clearing: the next step finds nothing and stops.
        w.dlg->OnCommand(ID_LIST_CLEAR);
        w.engine->calls.clear();
        emit w.engine->Finished();
        QCOMPARE(w.engine->calls, Passes(1) << "Stop()");
        QVERIFY(w.ui.messages.isEmpty());
    }

    void refusedStepDuringARunEndsTheRunningWrite()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.SetCell(0, 0, "..\\x");
        w.engine->calls.clear();
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->calls.last(), QString("Stop()"));
        QVERIFY(w.engine->CallsStartingWith("SaveFile").isEmpty());
        emit w.engine->Finished();
        QCOMPARE(w.Status(0), QString("Ready"));
    }

    void stopCommands()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->calls.clear();
        w.ui.messageAnswer = IDCANCEL;
        w.dlg->OnCommand(IDC_STOPCONVERT);
        QCOMPARE(w.ui.messages.size(), 1);
        QCOMPARE(w.ui.messages[0].caption, QString("Warning!"));
        QCOMPARE(w.ui.messages[0].text, QString("Do you want to Stop Converting?"));
        QCOMPARE(w.ui.messages[0].style, 1u); // MB_OKCANCEL, no icon
        QVERIFY(w.engine->calls.isEmpty());

        w.ui.messageAnswer = IDOK;
        w.dlg->OnCommand(IDC_STOPCONVERT);
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
        QCOMPARE((QStringList{w.Status(0), w.Status(1)}), (QStringList{"Abort", "Ready"}));
        QVERIFY(w.Checked(0));

        // With no run the question is still asked and the engine stopped, but no row is marked.
        w.SetCell(0, 3, "Ready");
        w.dlg->OnCommand(IDC_STOPCONVERT);
        QCOMPARE(w.ui.messages.size(), 3);
        QCOMPARE(w.engine->calls, (QStringList{"Stop()", "Stop()"}));
        QCOMPARE(w.Status(0), QString("Ready"));

        // The menu's Stop only stops; the write it ends sends no Finished, and a later one marks nothing.
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->calls.clear();
        w.dlg->OnCommand(ID_FILE_STOP);
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
        emit w.engine->Finished();
        QCOMPARE(w.Status(0), QString("Ready"));
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
    }

    void progressDrawsTheBar()
    {
        JobWindow w;
        auto* bar = qobject_cast<CSkinProgress*>(w.dlg->GetDlgItem(IDC_PROGRESS));
        emit w.engine->Progress(12.7, 300.2);
        QCOMPARE((QList<int>{bar->minimum(), bar->maximum(), bar->value()}), (QList<int>{0, 300, 12}));
        QCOMPARE(bar->BarColor(), COLORREF(CLR_PROGRESS_BAR));
        emit w.engine->Progress(69999.9, 70000);
        QCOMPARE((QList<int>{bar->maximum(), bar->value()}), (QList<int>{70000, 69999}));
        emit w.engine->Progress(5, 0);
        QCOMPARE((QList<int>{bar->maximum(), bar->value()}), (QList<int>{1, 0}));
        emit w.engine->Progress(50, 100);
        emit w.engine->Finished();
        QCOMPARE((QList<int>{bar->maximum(), bar->value()}), (QList<int>{100, 0}));
    }

    void selectingTheOutputFolder()
    {
        JobWindow w;
        auto* display = qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER));
        const QString before = display->text();
        w.dlg->OnCommand(ID_FILE_SELECTFOLDER);
        QCOMPARE(w.ui.folderTitles, QStringList{"Select folder"});
        QCOMPARE(display->text(), before);

        Prepare(w, {});
        QCOMPARE(w.dlg->OutputFolder(), OutFolder());
        QCOMPARE(display->text(), OutFolder());
        QSettings stored(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput");
        QCOMPARE(stored.value("Default").toString(), OutFolder());

        w.ui.folder = Native(QDir::rootPath());
        w.dlg->OnCommand(IDC_SELECTFOLDER);
        QCOMPARE(w.dlg->OutputFolder(), Native(QDir::rootPath()));
        RedirectSettings(m_config);
    }
};

QTEST_MAIN(TestConversionRun)
#include "test_conversion_run.moc"
