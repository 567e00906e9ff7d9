// The converter's command line read into a run's settings, the refusals naming the
// option and value, the help and the man page listing every value, and the progress texts.
#include "cli/CliChoices.h"
#include "cli/CliEvents.h"
#include "cli/CliOptions.h"
#include "jobs/ProgressEstimate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The settings in the lists' own names, so a row reads as its command line does.
QString Described(const CommandLine& parsed)
{
    if (!parsed.error.isEmpty())
        return QStringLiteral("error: ") + parsed.error;
    const CliOptions& o = parsed.options;
    QStringList words{
        FormatChoices().names.value(o.formatIndex), FrameSizeChoices().names.value(o.frameSizeIndex),
        StretchChoices().names.value(o.stretchMode), AudioBitrateChoices().names.value(o.audioBitrateIndex),
        o.startText + QLatin1Char('-') + (o.endText.isEmpty() ? QStringLiteral("end") : o.endText)};
    if (!o.outputFolder.isEmpty())
        words << QStringLiteral("in ") + o.outputFolder;
    if (o.quality.mode == QualityMode::ConstantQuality)
        words << QStringLiteral("quality %1").arg(int(o.quality.level));
    if (o.quality.mode == QualityMode::TargetSize)
        words << QStringLiteral("target %1").arg(o.quality.targetMegabytes);
    if (o.namePattern != ConverterOptions().namePattern || o.ifExists != IfOutputExists::Replace)
        words << QStringLiteral("as %1 if-exists %2").arg(o.namePattern).arg(int(o.ifExists));
    const std::pair<bool, const char*> switches[] = {
        {o.json, "json"}, {o.quiet, "quiet"}, {o.help, "help"}, {o.version, "version"}};
    for (const auto& [on, word] : switches) {
        if (on)
            words << QString::fromLatin1(word);
    }
    return (words + o.files).join(QLatin1Char(' '));
}
} // namespace

class TestCliOptions : public QObject
{
    Q_OBJECT
private slots:
    // The saved presets are looked for in a configuration of the test's own.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); }

    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("settings");
        const auto row = [](const char* name, const QStringList& arguments, const char* settings) {
            QTest::newRow(name) << arguments << QString(settings);
        };
        row("the window's defaults", {"a.mpg"}, "wmv 320x240 stretched-to-fit mono-28.8kbps 0-end a.mpg");
        row("names in any case and spacing",
            {"--format", "MP4", "--size", "High 640X480", "--stretch", "Resize  crop", "a"},
            "mp4 high-640x480 resize-crop mono-28.8kbps 0-end a");
        row("numbers, and the = spelling", {"--format=wma", "--audio-bitrate=6", "a"},
            "wma 320x240 stretched-to-fit 128kbps 0-end a");
        row("trims and folder", {"--start", "12.9", "--end", "40.5", "--output-dir", "out dir", "a"},
            "wmv 320x240 stretched-to-fit mono-28.8kbps 12.9-40.5 in out dir a");
        row("switches, then files only", {"--json", "-q", "a", "--", "--json", "-"},
            "wmv 320x240 stretched-to-fit mono-28.8kbps 0-end json quiet a --json -");
        row("the last one counts", {"--format", "mp4", "--format", "webm", "a"},
            "webm 320x240 stretched-to-fit mono-28.8kbps 0-end a");
        row("help needs no file", {"-h"}, "wmv 320x240 stretched-to-fit mono-28.8kbps 0-end help");

        row("quality, names and existing outputs",
            {"--quality", "Small", "--name", "{n}-{title}", "--if-exists", "number", "a"},
            "wmv 320x240 stretched-to-fit mono-28.8kbps 0-end quality 3 as {n}-{title} if-exists 1 a");
        row("a target size", {"--target-size=25.5", "a"},
            "wmv 320x240 stretched-to-fit mono-28.8kbps 0-end target 25.5 a");
        row("a built-in preset, then an option over it",
            {"--preset", "small for E-MAIL (MP4 320x240, Small)", "--size", "640x480", "a"},
            "mp4 640x480 resize-preserving-the-aspect-ratio mono-28.8kbps 0-end quality 3 a");
        row("a preset that is not there", {"--preset", "Nope", "a"},
            "error: --preset 'Nope': no such preset; there are \"Phone to share (MP4 720p)\", \"Small for "
            "e-mail (MP4 320x240, Small)\", \"Web (WebM 720p)\", \"Old players (WMV 640x480)\", \"Sound only "
            "(MP3 128 kbps)\"");
        row("a target of nothing", {"--target-size", "0", "a"},
            "error: --target-size '0': not a size in MB from 0.1 to 100000");
        row("a quality for sound", {"--format", "mp3", "--quality", "best", "a"},
            "error: --quality 'best': mp3 writes sound only; --quality is for wmv, mp4, webm");
        row("an unknown option", {"--fromat", "mp4", "a"}, "error: unknown option '--fromat'");
        row("a number past the list", {"--stretch", "4", "a"},
            "error: --stretch '4': not one of stretched-to-fit, no-resize, "
            "resize-preserving-the-aspect-ratio, "
            "resize-crop");
        row("the formats have no numbers", {"--format", "0", "a"},
            "error: --format '0': not one of wmv, wma, mp4, webm, mp3, m4a");
        row("a bit rate for video", {"--audio-bitrate", "64kbps", "a"},
            "error: --audio-bitrate '64kbps': wmv takes its sound from the --size profile; --audio-bitrate "
            "is for "
            "wma, mp3, m4a");
        row("an end with a comma", {"--end", "1,5", "a"}, "error: --end '1,5': not a number of seconds");
        row("a value missing", {"a", "--end"}, "error: --end needs a value (S)");
        row("a switch given a value", {"--json=yes", "a"}, "error: --json 'yes': takes no value");
        row("an empty folder", {"--output-dir=", "a"}, "error: --output-dir '': nothing given");
        row("no file", {"--json"}, "error: no FILE to convert");
    }
    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, settings);
        QCOMPARE(Described(ParseCommandLine(arguments)), settings);
    }

    // Both name every value of every list, so neither can fall behind a table.
    void helpAndManPageListEveryValue()
    {
        QFile manPage(VV_MAN_PAGE);
        QVERIFY(manPage.open(QIODevice::ReadOnly));
        const QString man =
            QString::fromUtf8(manPage.readAll()).replace(QLatin1String("\\-"), QLatin1String("-"));
        const QString help = UsageText(QStringLiteral("/stored folder/"));
        QVERIFY(help.contains(QLatin1String("now /stored folder/")));
        for (const ChoiceList* list :
             {&FormatChoices(), &FrameSizeChoices(), &StretchChoices(), &AudioBitrateChoices()}) {
            for (const QString& name : list->names) {
                QVERIFY2(help.contains(name), qPrintable(name));
                QVERIFY2(man.contains(name), qPrintable(name));
            }
        }
    }

    // The speed and the time left show once they are known: null in JSON until then,
    // left out on the terminal; JSON numbers to the hundredth.
    void progressTexts()
    {
        const RunFile file{QStringLiteral("a.mpg"), QStringLiteral("/o/a.wmv"), 2, 6};
        ProgressEstimate estimate;
        QCOMPARE(ProgressLine(file, estimate), QString("[2/6] a.mpg    0%"));
        QVERIFY(ProgressEvent(file, {0.004, 3, 0.1}, estimate)
                    .contains(R"("percent":0,"position":0,"remaining":null,"speed":null,"total":3)"));
        estimate = {42, 1, 5, 3.14159};
        QCOMPARE(ProgressLine(file, estimate), QString("[2/6] a.mpg   42%  3.1x  0:05 left"));
        QVERIFY(ProgressEvent(file, {1.2649, 3, 0.4}, estimate)
                    .contains(R"("position":1.26,"remaining":5,"speed":3.14)"));
    }

private:
    QTemporaryDir m_config;
};

QTEST_APPLESS_MAIN(TestCliOptions)
#include "test_cli_options.moc"
