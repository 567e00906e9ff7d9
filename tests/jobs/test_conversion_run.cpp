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
const QString kCaption = "Virav Velmora Video Converter";
const QString kSaveFail = kCaption + "|Save Fail";
const QStringList kPass{"SetOutputMode(9)", "SetClipOption(0)", "ClearClips()"};

QStringList Passes(int count)
{
    QStringList calls;
    for (int i = 0; i < count; ++i)
        calls << kPass;
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
} // namespace

class TestConversionRun : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;
    QTemporaryDir m_out;

    // Output folder with its separator, as the folder chooser stores it.
    QString OutFolder() const { return Native(m_out.path()) + QDir::separator(); }
    void UseOutputFolder(JobWindow& w, const QString& folder)
    {
        w.ui.folder = folder;
        w.dlg->OnCommand(IDC_SELECTFOLDER);
    }
    QProgressBar* Bar(JobWindow& w) { return qobject_cast<QProgressBar*>(w.dlg->GetDlgItem(IDC_PROGRESS)); }

private slots:
    void initTestCase()
    {
        RedirectSettings(m_config);
        QVERIFY(m_out.isValid());
    }

    void emptyListStopsQuietly()
    {
        JobWindow w;
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->calls, Passes(1) << "Stop()");
        QVERIFY(w.ui.messages.isEmpty());
    }

    void uncheckedRowsAreVisitedCountPlusOneTimes()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg", "c.mpg"});
        w.SetChecked({});
        w.dlg->OnCommand(ID_FILE_CONVERT);
        QCOMPARE(w.engine->calls, Passes(4) << "Stop()");
        QVERIFY(w.ui.messages.isEmpty());
    }

    void checkedRowsAreConvertedInOrder()
    {
        JobWindow w;
        UseOutputFolder(w, Native(m_out.path()));
        w.AddTitles({"r0.mpg", "r1.mpg", "r2.mpg", "r3.mpg", "r4.mpg", "r5.mpg"});
        w.SetChecked({0, 2, 5});
        w.SetCell(0, 2, "40.5");
        w.dlg->OnCommand(IDC_CONVERT);
        const QString source = Native("/v/r0.mpg");
        QCOMPARE(w.engine->calls, Passes(7) << "AddVideoClip(" + source + ",0,40.5,0)"
                                            << "AddAudioClip(" + source + ",0,40.5)"
                                            << "SetProfileFile(" + Profile("320x240video") + ")"
                                            << "SaveFile(" + OutFolder() + "r0.wmv)");
        QCOMPARE(w.Status(0), QString("Ready"));

        QStringList written;
        for (int round = 0; round < 3; ++round) {
            written << w.engine->CallsStartingWith("SaveFile");
            w.engine->calls.clear();
            emit w.engine->Finished();
        }
        QCOMPARE(written, (QStringList{"SaveFile(" + OutFolder() + "r0.wmv)", "SaveFile(" + OutFolder() + "r2.wmv)",
                                       "SaveFile(" + OutFolder() + "r5.wmv)"}));
        QCOMPARE(w.engine->calls, Passes(7) << "Stop()");
        QCOMPARE(w.CheckStates(), (QList<bool>{false, false, false, false, false, false}));
        const QStringList statuses{w.Status(0), w.Status(1), w.Status(2), w.Status(3), w.Status(4), w.Status(5)};
        QCOMPARE(statuses, (QStringList{"Completed", "Ready", "Completed", "Ready", "Ready", "Completed"}));
        QVERIFY(w.ui.messages.isEmpty());
    }

    void startIsWholeSecondsEndKeepsItsFraction()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.SetCell(0, 1, "12.9");
        w.SetCell(0, 2, "40.5");
        w.SetCell(1, 1, "12,9");
        w.SetCell(1, 2, "40,5");
        const QString a = Native("/v/a.mpg");
        const QString b = Native("/v/b.mpg");
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("Add"),
                 (QStringList{"AddVideoClip(" + a + ",12,40.5,0)", "AddAudioClip(" + a + ",12,40.5)"}));
        w.engine->calls.clear();
        emit w.engine->Finished();
        QCOMPARE(w.engine->CallsStartingWith("Add"),
                 (QStringList{"AddVideoClip(" + b + ",12,40,0)", "AddAudioClip(" + b + ",12,40)"}));
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
        w.AddTitles({"holiday.mpg"});
        w.Combo(IDC_FRAMESIZE)->setCurrentIndex(size);
        w.Combo(IDC_STRETCHMODE)->setCurrentIndex(2);
        w.Combo(IDC_AUDIOBITRATE)->setCurrentIndex(5);
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->calls.mid(3 * 2),
                 (QStringList{"AddVideoClip(" + Native("/v/holiday.mpg") + ",0,1,2)",
                              "AddAudioClip(" + Native("/v/holiday.mpg") + ",0,1)",
                              "SetProfileFile(" + Profile(profile) + ")",
                              "SaveFile(" + w.dlg->OutputFolder() + "holiday.wmv)"}));
    }

    void audioOutputSendsTheBitrateCode()
    {
        JobWindow w;
        UseOutputFolder(w, Native(m_out.path()));
        w.AddTitles({"holiday.mpg"});
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

    void stretchModeFollowsItsList()
    {
        JobWindow w;
        w.AddTitles({"a.mpg"});
        w.Combo(IDC_STRETCHMODE)->setCurrentIndex(3);
        w.dlg->OnCommand(IDC_CONVERT);
        QVERIFY(w.engine->CallsStartingWith("AddVideoClip").first().endsWith(",3)"));
    }

    void refusedStartShowsSaveFailAndHalts()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.engine->saveResult = false;
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QCOMPARE(w.ui.messages.first().style, 0u);
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        QCOMPARE(w.Status(0), QString("Ready"));
        // Nothing is running, so a stray Finished marks nothing and starts nothing.
        w.engine->calls.clear();
        emit w.engine->Finished();
        QVERIFY(w.engine->calls.isEmpty());
        QCOMPARE(w.Status(0), QString("Ready"));
    }

    void unsafeTitlesAreNeverWritten_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("parent folder") << "..\\x";
        QTest::newRow("slash") << "../../x.mpg";
        QTest::newRow("empty base") << ".mpg";
    }
    void unsafeTitlesAreNeverWritten()
    {
        QFETCH(QString, title);
        JobWindow w;
        w.AddTitles({"a.mpg"});
        w.SetCell(0, 0, title);
        w.dlg->OnCommand(IDC_CONVERT);
        QVERIFY(w.engine->CallsStartingWith("SaveFile").isEmpty());
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QVERIFY(w.Checked(0));
    }

    void refusedStepDuringARunEndsTheRunningWrite()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.SetCell(0, 0, "..\\x");
        w.engine->calls.clear();
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->calls.mid(3 * 3), (QStringList{"AddVideoClip(" + Native("/v/a.mpg") + ",0,1,0)",
                                                          "AddAudioClip(" + Native("/v/a.mpg") + ",0,1)",
                                                          "SetProfileFile(" + Profile("320x240video") + ")",
                                                          "Stop()"}));
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        emit w.engine->Finished();
        QCOMPARE(w.Status(0), QString("Ready"));
        QVERIFY(w.Checked(0));
    }

    void titleWithoutPointNamesTheWholeOutput()
    {
        JobWindow w;
        UseOutputFolder(w, Native(m_out.path()));
        w.AddTitles({"clip"});
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("SaveFile"), QStringList{"SaveFile(" + OutFolder() + "clip.wmv)"});
    }

    void storedFolderWithoutSeparatorGetsOne()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput")
            .setValue("Default", Native(m_out.path()));
        JobWindow w;
        QCOMPARE(qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER))->text(), Native(m_out.path()));
        w.AddTitles({"holiday.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("SaveFile"), QStringList{"SaveFile(" + OutFolder() + "holiday.wmv)"});
        RedirectSettings(m_config);
    }

    void outputNeverReplacesASource()
    {
        JobWindow w;
        const QString source = m_out.filePath("movie.wmv");
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("source");
        file.close();
        UseOutputFolder(w, Native(m_out.path()));
        w.AddFiles({Native(source)});
        w.engine->calls.clear();
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

        // A new Convert starts a new batch: the renamed row goes, and a rechecked row is converted again.
        w.SetCell(1, 0, "second.avi");
        w.SetChecked({0, 1});
        w.engine->calls.clear();
        w.dlg->OnCommand(IDC_CONVERT);
        emit w.engine->Finished();
        emit w.engine->Finished();
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").size(), 2);
        QCOMPARE(w.Status(0), QString("Completed"));
        QCOMPARE(w.Status(1), QString("Completed"));
        QCOMPARE(w.ui.messages.size(), 1);
    }

    void failedWriteShowsSaveFailAndHalts()
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

    void removingTheRunningRowMarksNoOtherRow()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.Select({0});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        w.engine->calls.clear();
        emit w.engine->Finished();
        // The former row 1 was not written yet: it is the next step, not "Completed".
        QCOMPARE(w.Status(0), QString("Ready"));
        QVERIFY(w.Checked(0));
        QCOMPARE(w.engine->CallsStartingWith("SaveFile"), QStringList{"SaveFile(" + w.dlg->OutputFolder() + "b.wmv)"});
    }

    void rowsRemovedAboveTheRunningRowAreFollowed()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg", "c.mpg"});
        w.SetChecked({2});
        w.dlg->OnCommand(IDC_CONVERT);
        w.Select({0});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        emit w.engine->Finished();
        QCOMPARE(w.Row(1).first(), QString("c.mpg"));
        QCOMPARE(w.Status(1), QString("Completed"));
        QCOMPARE(w.Status(0), QString("Ready"));
    }

    void clearingDuringARunEndsItAtTheNextFinished()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.dlg->OnCommand(ID_LIST_CLEAR);
        w.engine->calls.clear();
        emit w.engine->Finished();
        QCOMPARE(w.engine->calls, Passes(1) << "Stop()");
        QVERIFY(w.ui.messages.isEmpty());
    }

    void stopQuestion()
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
        QCOMPARE(w.ui.messages[0].style, 1u);
        QVERIFY(w.engine->calls.isEmpty());
        QCOMPARE(w.Status(0), QString("Ready"));

        w.ui.messageAnswer = IDOK;
        w.dlg->OnCommand(IDC_STOPCONVERT);
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
        QCOMPARE(w.Status(0), QString("Abort"));
        QVERIFY(w.Checked(0));
        QCOMPARE(w.Status(1), QString("Ready"));

        // The run is over: asking again stops the engine but marks no row.
        w.SetCell(0, 3, "Ready");
        w.dlg->OnCommand(IDC_STOPCONVERT);
        QCOMPARE(w.ui.messages.size(), 3);
        QCOMPARE(w.engine->calls, (QStringList{"Stop()", "Stop()"}));
        QCOMPARE(w.Status(0), QString("Ready"));

        // An aborted row that stays checked is the first one taken next time.
        w.engine->calls.clear();
        w.dlg->OnCommand(IDC_CONVERT);
        QVERIFY(w.engine->CallsStartingWith("SaveFile").first().endsWith("a.wmv)"));
    }

    void stopMenuOnlyStopsTheEngine()
    {
        JobWindow w;
        w.AddTitles({"a.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->calls.clear();
        w.dlg->OnCommand(ID_FILE_STOP);
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
        QVERIFY(w.ui.messages.isEmpty());
        // The stopped write sends no Finished; a later one belongs to no row.
        w.engine->calls.clear();
        emit w.engine->Finished();
        QCOMPARE(w.Status(0), QString("Ready"));
        QVERIFY(w.Checked(0));
        QVERIFY(w.engine->calls.isEmpty());
    }

    void progressDrawsTheBar()
    {
        JobWindow w;
        QProgressBar* bar = Bar(w);
        emit w.engine->Progress(12.7, 300.2);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 300);
        QCOMPARE(bar->value(), 12);
        QCOMPARE(static_cast<CSkinProgress*>(bar)->BarColor(), COLORREF(CLR_PROGRESS_BAR));
        emit w.engine->Progress(69999.9, 70000);
        QCOMPARE(bar->maximum(), 70000);
        QCOMPARE(bar->value(), 69999);
        emit w.engine->Progress(5, 0);
        QCOMPARE(bar->maximum(), 1);
        QCOMPARE(bar->value(), 0);
        emit w.engine->Progress(50, 100);
        emit w.engine->Finished();
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->maximum(), 100);
    }

    void selectingTheOutputFolder()
    {
        JobWindow w;
        auto* display = qobject_cast<QLineEdit*>(w.dlg->GetDlgItem(IDC_OUTPUTFOLDER));
        const QString before = display->text();
        w.ui.folder.clear();
        w.dlg->OnCommand(ID_FILE_SELECTFOLDER);
        QCOMPARE(w.ui.folderTitles, QStringList{"Select folder"});
        QCOMPARE(display->text(), before);

        const QString chosen = Native(m_out.path());
        UseOutputFolder(w, chosen);
        QCOMPARE(w.dlg->OutputFolder(), chosen + QDir::separator());
        QCOMPARE(display->text(), chosen + QDir::separator());
        QSettings stored(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput");
        QCOMPARE(stored.value("Default").toString(), chosen + QDir::separator());

        const QString root = QDir::rootPath();
        UseOutputFolder(w, Native(root));
        QCOMPARE(w.dlg->OutputFolder(), Native(root));
        RedirectSettings(m_config);
    }
};

QTEST_MAIN(TestConversionRun)
#include "test_conversion_run.moc"
