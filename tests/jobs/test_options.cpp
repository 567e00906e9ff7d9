// The Options dialog's rules and their use: output names from a pattern, an output that
// exists, presets on disk, the quality and names a batch sends the engine, and the
// window's Options command, presets and end-of-batch actions.
#include "dialogs/CCountdownDlg.h"
#include "dialogs/COptionsDlg.h"
#include "engine/OutputFormats.h"
#include "jobs/JobOutput.h"
#include "jobs/JobWindow.h"
#include "jobs/NamePattern.h"
#include "support/RunRig.h"

#include <QLineEdit>
#include <QtTest>

namespace {
const OutputContainer& Format(int index)
{
    return JobFormatForIndex(index);
}

NameFields Fields(const QString& title, int frameSize = 2, int number = 7, int rowCount = 12)
{
    return NameFields{title, "/v/MVI 0042.mov", frameSize, QDate(2026, 12, 8), number, rowCount};
}

QStringList PresetFiles()
{
    return QDir(PresetFolder()).entryList(QDir::Files);
}

// Writes the preset file text, with one field changed from a good preset's.
QString WritePreset(const QString& path, const QString& key, const QJsonValue& value)
{
    QJsonObject object = QJsonDocument::fromJson(PresetToJson(BuiltInPresets()[1])).object();
    object["name"] = "Mine";
    object[key] = value;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(object).toJson());
    return path;
}
} // namespace

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void init() { QDir(PresetFolder()).removeRecursively(); }

    // "{title}" names every title as the program always did, refusals included.
    void defaultPatternGivesTodaysNames()
    {
        for (const char* title : {"holiday.mpg", "no dot", "two.dots.avi", "", ".hidden", "a/b.mpg", "a\\b",
                                  "trailing.", "colon: ok.mpg"})
            for (int format : {0, 2, 4})
                QCOMPARE(PatternFileName("{title}", Fields(title), Format(format)),
                         OutputFileName(title, Format(format)));
    }

    void patternTokens_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("every token") << "{n} {source} {format} {size} {date}" << 2
                                     << "07 MVI 0042 mp4 640x480 2026-12-08.mp4";
        QTest::newRow("title beside text") << "{title}-{n}" << 0 << "holiday-07.wmv";
        QTest::newRow("sound has no size") << "{title}{size}" << 4 << "holiday.mp3";
        QTest::newRow("unsafe text replaced") << "a:b/c*{title}?" << 0 << "a_b_c_holiday_.wmv";
        QTest::newRow("unknown token kept") << "{title} {nope}" << 0 << "holiday {nope}.wmv";
        QTest::newRow("nothing left") << "{size}" << 1 << "";
        QTest::newRow("hidden name refused") << ".{title}" << 0 << "";
    }
    void patternTokens()
    {
        QFETCH(QString, pattern);
        QFETCH(int, format);
        QFETCH(QString, name);
        QCOMPARE(PatternFileName(pattern, Fields("holiday.mpg"), Format(format)), name);
    }

    // {n} takes as many digits as the list's row count.
    void numbersArePaddedToTheBatch()
    {
        QCOMPARE(ExpandNamePattern("{n}", Fields("t", 0, 3, 9), Format(0)), QString("3"));
        QCOMPARE(ExpandNamePattern("{n}", Fields("t", 0, 3, 10), Format(0)), QString("03"));
        QCOMPARE(ExpandNamePattern("{n}", Fields("t", 0, 42, 1000), Format(0)), QString("0042"));
    }

    void existingOutputs()
    {
        const QStringList taken{"/o/a.mp4", "/o/a (2).mp4", "/o/noext"};
        const auto isTaken = [&](const QString& path) { return taken.contains(path); };
        QCOMPARE(ResolveExistingOutput("/o/a.mp4", IfOutputExists::Replace, isTaken), QString("/o/a.mp4"));
        QCOMPARE(ResolveExistingOutput("/o/a.mp4", IfOutputExists::Skip, isTaken), QString());
        QCOMPARE(ResolveExistingOutput("/o/b.mp4", IfOutputExists::Skip, isTaken), QString("/o/b.mp4"));
        QCOMPARE(ResolveExistingOutput("/o/a.mp4", IfOutputExists::AddNumber, isTaken),
                 QString("/o/a (3).mp4"));
        QCOMPARE(ResolveExistingOutput("/o/noext", IfOutputExists::AddNumber, isTaken),
                 QString("/o/noext (2)"));
    }

    // Save, list, find, rename, export, import and delete; built-in presets stay as they are.
    void presetsRoundTrip()
    {
        Preset mine{"  Mine  ", {3, 5, 1, 2}, *videoQualityFor(2, 25.5), "/out/web/", true};
        const PresetResult saved = SavePreset(mine);
        QVERIFY2(saved.preset, qPrintable(saved.error));
        QCOMPARE(saved.preset->name, QString("Mine"));
        QCOMPARE(FindPreset("mine")->quality.targetMegabytes, 25.5);
        QCOMPARE(AllPresets().size(), BuiltInPresets().size() + 1);
        QVERIFY(RenamePreset("Mine", "Web 2").preset);
        QVERIFY(!FindPreset("Mine"));
        const Preset renamed = *FindPreset("Web 2");
        QCOMPARE(renamed.choices.frameSizeIndex, 5);
        QCOMPARE(renamed.outputFolder, QString("/out/web/"));
        QVERIFY(!renamed.builtIn);

        QTemporaryDir elsewhere;
        QCOMPARE(ExportPreset(renamed, elsewhere.filePath("web.json")), QString());
        QCOMPARE(DeletePreset("Web 2"), QString());
        QVERIFY(PresetFiles().isEmpty());
        const PresetResult imported = ImportPreset(elsewhere.filePath("web.json"));
        QVERIFY2(imported.preset, qPrintable(imported.error));
        QCOMPARE(PresetToJson(*imported.preset), PresetToJson(renamed));

        const QString builtIn = BuiltInPresets()[0].name;
        QVERIFY(SavePreset(Preset{builtIn.toUpper(), {}, {}, {}, false}).error.contains("built-in"));
        QVERIFY(!RenamePreset(builtIn, "x").preset);
        QVERIFY(!DeletePreset(builtIn).isEmpty());
        QVERIFY(!RenamePreset("Web 2", builtIn).preset);
        QCOMPARE(PresetFiles(), QStringList{"Web%202.json"});
    }

    void hostilePresetRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("named");
        QTest::newRow("future version") << "version" << QJsonValue(2) << "\"version\"";
        QTest::newRow("version as text") << "version" << QJsonValue("1") << "\"version\"";
        QTest::newRow("format past the list") << "format" << QJsonValue(6) << "\"format\"";
        QTest::newRow("frame size below") << "frameSize" << QJsonValue(-1) << "\"frameSize\"";
        QTest::newRow("stretch not whole") << "stretchMode" << QJsonValue(1.5) << "\"stretchMode\"";
        QTest::newRow("bit rate as text") << "audioBitrate" << QJsonValue("6") << "\"audioBitrate\"";
        QTest::newRow("unknown quality mode") << "qualityMode" << QJsonValue(3) << "\"qualityMode\"";
        QTest::newRow("level past Small") << "qualityLevel" << QJsonValue(4) << "\"qualityLevel\"";
        QTest::newRow("no name") << "name" << QJsonValue("  ") << "\"name\"";
        QTest::newRow("folder not a text") << "outputFolder" << QJsonValue(7) << "\"outputFolder\"";
    }
    // Refused with the field named, and nothing saved.
    void hostilePresetRefused()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const PresetResult result = ImportPreset(WritePreset(dir.filePath("bad.json"), key, value));
        QVERIFY(!result.preset);
        QVERIFY2(result.error.contains(named), qPrintable(result.error));
        QVERIFY(PresetFiles().isEmpty());
    }
    void brokenPresetText()
    {
        QVERIFY(PresetFromJson("[1, 2").error.startsWith("not a preset"));
        QVERIFY(PresetFromJson(R"({"version":1,"format":0,"frameSize":0,"stretchMode":0,"audioBitrate":0,)"
                               R"("name":"a","qualityMode":2,"targetMegabytes":0})")
                    .error.contains("\"targetMegabytes\""));
    }

    // The default options make exactly the calls a run without them makes; a quality
    // mode adds one call just before SaveFile.
    void qualityReachesTheEngineOnlyWhenChosen()
    {
        RunRig plain({"a.mpg"});
        plain.run.Convert();
        RunRig defaults({"a.mpg"});
        defaults.run.SetOptions(ConverterOptions());
        defaults.run.Convert();
        QCOMPARE(defaults.engine.calls, plain.engine.calls);
        QCOMPARE(defaults.engine.CallsStartingWith("SetVideoQuality"), QStringList());

        for (const auto& [quality, call] :
             {std::pair{*videoQualityFor(1, 3), "SetVideoQuality(1,3)"},
              std::pair{*videoQualityFor(2, 25.5), "SetVideoQuality(2,25.5)"}}) {
            RunRig r({"a.mpg"});
            ConverterOptions options;
            options.quality = quality;
            r.run.SetOptions(options);
            r.run.Convert();
            QStringList expected = plain.engine.calls;
            expected.insert(expected.size() - 1, call);
            QCOMPARE(r.engine.calls, expected);
        }
    }

    // Skip passes by a row whose output exists and leaves it checked; Add a number writes
    // beside the existing file; the pattern names both.
    void existingOutputsInABatch()
    {
        QTemporaryDir out;
        QFile(out.filePath("b-2.wmv")).open(QIODevice::WriteOnly);
        for (const auto& [rule, saves] :
             {std::pair{IfOutputExists::Skip, QStringList{"a-1.wmv", "c-3.wmv"}},
              std::pair{IfOutputExists::AddNumber, QStringList{"a-1.wmv", "b-2 (2).wmv", "c-3.wmv"}}}) {
            RunRig r({"a.mpg", "b.mpg", "c.mpg"});
            r.view.settings.outputFolder = out.path();
            ConverterOptions options;
            options.namePattern = "{title}-{n}";
            options.ifExists = rule;
            r.run.SetOptions(options);
            QSignalSpy ended(&r.run, &CBatchRun::batchEnded);
            r.run.Convert();
            for (int i = 0; i < saves.size(); ++i)
                r.run.OnEngineFinished();
            QCOMPARE(r.engine.CallsStartingWith("SaveFile").replaceInStrings(out.path() + "/", ""),
                     QStringList(saves).replaceInStrings(QRegularExpression("^(.*)$"), "SaveFile(\\1)"));
            const bool skip = rule == IfOutputExists::Skip;
            QCOMPARE(r.rows.Column(kStatusColumn)[1], skip ? kStatusSkipped : kStatusCompleted);
            QCOMPARE(r.rows.Checks(), (QList<bool>{false, skip, false}));
            QCOMPARE(ended.size(), 1);
            QCOMPARE(ended[0][1].toInt(), saves.size());
        }
    }

    // The Edit menu ends with Options...; the dialog's preset sets the lists as choosing
    // them would, and OK stores the choices for the next start.
    void optionsCommandInTheWindow()
    {
        JobWindow w;
        w.ui.menuChoice = ID_EDIT_OPTIONS;
        w.dlg->OnCommand(IDC_EDITMENU);
        QCOMPARE(w.ui.menus[0].items.mid(5), (QStringList{"-", "Options..."}));
        QCOMPARE(w.ui.modalTitles, QStringList{"Options"});

        w.ui.onModal = [](QDialog& dialog) {
            auto& options = static_cast<COptionsDlg&>(dialog);
            auto* presets = dialog.findChild<QListWidget*>();
            presets->setCurrentRow(presets->count() - 1); // "Sound only (MP3 128 kbps)"
            options.OnUsePreset();
            for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
                if (edit->accessibleName() == "File name pattern")
                    edit->setText("{n} {title}");
            const bool shown = options.ExampleText() == "Example: 07 holiday.mp3";
            dialog.findChildren<QCheckBox*>().last()->setChecked(true); // start with the last settings
            return shown ? IDOK : IDCANCEL;
        };
        w.dlg->OnOptions();
        QCOMPARE(w.Combo(IDC_OUTPUTPROFILE)->currentIndex(), 4);
        QCOMPARE(w.Combo(IDC_AUDIOBITRATE)->currentIndex(), 6);
        QVERIFY(w.engine->calls.isEmpty());
        QCOMPARE(w.dlg->Options().namePattern, QString("{n} {title}"));

        JobWindow next;
        QCOMPARE(next.Combo(IDC_OUTPUTPROFILE)->currentIndex(), 4);
        QCOMPARE(next.dlg->Options().namePattern, QString("{n} {title}"));
        StoreOptions(ConverterOptions());
    }

    void whenTheBatchIsDone_data()
    {
        QTest::addColumn<int>("whenDone");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("requests");
        QTest::newRow("suspend after the countdown") << int(WhenBatchDone::Suspend) << false << IDOK << 1;
        QTest::newRow("power off cancelled") << int(WhenBatchDone::PowerOff) << false << IDCANCEL << 0;
        QTest::newRow("stopped batch") << int(WhenBatchDone::PowerOff) << true << IDOK << 0;
    }
    // Asked first with a countdown; a stopped batch asks nothing; a refusal is shown.
    void whenTheBatchIsDone()
    {
        QFETCH(int, whenDone);
        QFETCH(bool, stopped);
        QFETCH(int, answer);
        QFETCH(int, requests);
        ConverterOptions options;
        options.whenDone = WhenBatchDone(whenDone);
        StoreOptions(options);
        JobWindow w;
        w.ui.powerRefusal = "Suspend: Access denied";
        w.ui.onModal = [&](QDialog& dialog) {
            auto& box = static_cast<CCountdownDlg&>(dialog);
            box.OnTick();
            return box.SecondsLeft() == 29 ? answer : -1;
        };
        w.AddTitles({"a.mpg"});
        w.dlg->OnConvert();
        stopped ? w.dlg->OnStop() : w.engine->EmitFinished();
        QCoreApplication::processEvents();
        QCOMPARE(w.ui.powerRequests.size(), requests);
        QCOMPARE(w.ui.modalTitles.size(), stopped ? 0 : 1);
        QCOMPARE(w.Messages().filter("Access denied").size(), requests);
        StoreOptions(ConverterOptions());
    }
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
