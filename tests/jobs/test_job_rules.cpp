// The text rules of job rows, conversion outputs and batch feedback, and the supported types.
#include "jobs/BatchSummary.h"
#include "jobs/JobOutput.h"
#include "jobs/JobRowText.h"
#include "jobs/ProgressEstimate.h"
#include "jobs/ProgressSteps.h"
#include "jobs/VideoFileTypes.h"

#include <QLocale>
#include <QMimeDatabase>
#include <QtTest>

#include <limits>

class TestJobRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A locale with a decimal comma must change nothing below.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void timesParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("integer");
        QTest::addColumn<double>("decimal");
        QTest::newRow("fraction") << "12.9" << 12 << 12.9;
        QTest::newRow("comma is no point") << "12,9" << 12 << 12.0;
        QTest::newRow("white space and sign") << " \t-3.25s" << -3 << -3.25;
        QTest::newRow("no digits") << "-abc" << 0 << 0.0;
        QTest::newRow("fraction without integer") << ".5" << 0 << 0.5;
        QTest::newRow("signed exponent") << "25E-1x" << 25 << 2.5;
        QTest::newRow("exponent without digits") << "3e +1" << 3 << 3.0;
        QTest::newRow("digits of other scripts") << QString::fromUtf8("\xd9\xa3") << 0 << 0.0;
        QTest::newRow("integer saturates")
            << "99999999999" << std::numeric_limits<int>::max() << 99999999999.0;
    }
    void timesParse()
    {
        QFETCH(QString, text);
        QFETCH(int, integer);
        QFETCH(double, decimal);
        QCOMPARE(ParseLeadingInteger(text), integer);
        QCOMPARE(ParseLeadingDecimal(text), decimal);
        const ClipSpan span = ConversionSpan(text, text); // a step starts on a whole second
        QCOMPARE(span.startSeconds, double(integer));
        QCOMPARE(span.endSeconds, decimal);
    }

    // Every title that would not name a visible file inside the output folder gets no name.
    void outputFileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        const char* const rows[][3]{{"last point counts", "x.y.mpg", "x.y.wmv"},
                                    {"no point: whole title", "clip", "clip.wmv"},
                                    {"empty base", ".mpg", ""},
                                    {"parent folder", "..\\x", ""},
                                    {"slash", "sub/clip.mpg", ""},
                                    {"backslash", "sub\\clip.mpg", ""}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
    }
    void outputFileNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(OutputFileName(title, JobFormatForIndex(0)), name);
    }

    void progress_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("total");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("truncated") << 12.7 << 300.2 << 300 << 12;
        QTest::newRow("empty total") << 5.0 << 0.0 << 1 << 0;
        QTest::newRow("past the end") << 400.0 << 300.0 << 300 << 300;
        QTest::newRow("before the start") << -3.0 << 300.0 << 300 << 0;
        QTest::newRow("not a number") << qQNaN() << qQNaN() << 1 << 0;
        const int most = std::numeric_limits<int>::max();
        QTest::newRow("beyond int") << 1e12 << 1e12 << most << most;
    }
    void progress()
    {
        QFETCH(double, position);
        QFETCH(double, total);
        QFETCH(int, maximum);
        QFETCH(int, value);
        const ProgressSteps steps = MapProgress(position, total);
        QCOMPARE((QList<int>{steps.maximum, steps.value}), (QList<int>{maximum, value}));
    }

    // The rate counts from the first progress event, so a slow start does not stretch the
    // estimate; a batch that ran nothing has nothing to say at its end.
    void progressEstimate()
    {
        const auto text = [](ProgressSample first, ProgressSample latest, double total) {
            return ProgressText(EstimateProgress(first, latest, total));
        };
        QCOMPARE(text({10, 20}, {20, 30}, 100), QString("20%, 0:30 elapsed, 1:20 left"));
        QCOMPARE(text({0, 0}, {1, 3600}, 3), QString("33%, 1:00:00 elapsed, 2:00:00 left"));
        QCOMPARE(text({0, 0}, {120, 61}, 100), QString("100%, 1:01 elapsed, 0:00 left"));
        QCOMPARE(text({0, 0}, {qQNaN(), 5}, 0), QString("0%, 0:05 elapsed"));
        QCOMPARE(EstimateProgress({10, 20}, {40, 30}, 100).speed, 3.0); // from the first event on
        QCOMPARE(EstimateProgress({10, 20}, {10, 20}, 100).speed, 0.0);
        QCOMPARE(BatchSummaryText(1, BatchEnd::Done), QString("1 file converted"));
        QCOMPARE(BatchSummaryText(0, BatchEnd::Done), QString()); // nothing ran
    }

    // Drops take the types of the Add dialog's first entry, in any case; the desktop entry
    // offers the program for every one of them.
    void supportedTypes()
    {
        QVERIFY(!IsSupportedVideoFile("/v/mpg") && !IsSupportedVideoFile("a.mpg/x"));
        QFile entry(VV_FIXTURES_DIR "/../../res/virav-velmora-converter.desktop");
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(entry.readAll());
        const QStringList listed = QRegularExpression("\nMimeType=(.*)\n").match(text).captured(1).split(';');
        for (const QString& extension : SupportedVideoExtensions()) {
            bool found = false;
            for (const QMimeType& type : QMimeDatabase().mimeTypesForFileName("x." + extension))
                found = found || listed.contains(type.name());
            QVERIFY2(found, qPrintable(extension));
        }
    }
};

QTEST_APPLESS_MAIN(TestJobRules)
#include "test_job_rules.moc"
