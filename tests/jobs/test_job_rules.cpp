// The text rules of job rows and of conversion outputs, as plain functions.
#include "jobs/JobOutput.h"
#include "jobs/JobRowText.h"
#include "jobs/ProgressSteps.h"

#include <QDir>
#include <QLocale>
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
        QTest::newRow("end time") << "40.5" << 40 << 40.5;
        QTest::newRow("leading white space and sign") << " \t-3.25s" << -3 << -3.25;
        QTest::newRow("no digits") << "abc" << 0 << 0.0;
        QTest::newRow("sign alone") << "-" << 0 << 0.0;
        QTest::newRow("fraction without integer") << ".5" << 0 << 0.5;
        QTest::newRow("point without fraction") << "5." << 5 << 5.0;
        QTest::newRow("exponent") << "1.5e2" << 1 << 150.0;
        QTest::newRow("signed exponent") << "25E-1x" << 25 << 2.5;
        QTest::newRow("space before the sign of an exponent") << "3e +1" << 3 << 3.0;
        QTest::newRow("digits of other scripts are no digits") << QString::fromUtf8("\xd9\xa3") << 0 << 0.0;
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
    }

    void endTimeCellOfANewRow()
    {
        QCOMPARE(FormatEndSeconds(63.456), QString("63.46"));
        QCOMPARE(FormatEndSeconds(0.0), QString("1"));
        QCOMPARE(FormatEndSeconds(0.001), QString("0.00"));
    }

    void titlesSplitAtTheLastPoint()
    {
        QCOMPARE(TitleFromPath(QDir::toNativeSeparators("/v/a.mpg")), QString("a.mpg"));
        QCOMPARE(TitleFromPath("clip"), QString("clip"));
        const TitleSplit plain = SplitTitle("a.b.mpg");
        QCOMPARE(plain.base, QString("a.b"));
        QCOMPARE(plain.extension, QString(".mpg"));
        const TitleSplit noPoint = SplitTitle("clip");
        QCOMPARE(noPoint.base, QString());
        QCOMPARE(noPoint.extension, QString("clip"));
        QCOMPARE(SplitTitle(".mpg").base, QString());
        QCOMPARE(SplitTitle(".mpg").extension, QString(".mpg"));
    }

    void outputFileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("video") << "holiday.mpg" << 0 << "holiday.wmv";
        QTest::newRow("audio") << "holiday.mpg" << 1 << "holiday.wma";
        QTest::newRow("last point counts") << "x.y.mpg" << 0 << "x.y.wmv";
        QTest::newRow("no point: whole title") << "clip" << 0 << "clip.wmv";
        QTest::newRow("empty base") << ".mpg" << 0 << "";
        QTest::newRow("hidden base") << ".secret.mpg" << 0 << "";
        QTest::newRow("parent folder") << "..\\x" << 0 << "";
        QTest::newRow("slash") << "sub/clip.mpg" << 0 << "";
        QTest::newRow("backslash") << "sub\\clip.mpg" << 1 << "";
    }
    void outputFileNames()
    {
        QFETCH(QString, title);
        QFETCH(int, format);
        QFETCH(QString, name);
        QCOMPARE(OutputFileName(title, JobFormatForIndex(format)), name);
    }

    void progress_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("total");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("truncated") << 12.7 << 300.2 << 300 << 12;
        QTest::newRow("beyond 16 bits") << 69999.9 << 70000.0 << 70000 << 69999;
        QTest::newRow("empty total") << 5.0 << 0.0 << 1 << 0;
        QTest::newRow("negative total") << 5.0 << -10.0 << 1 << 0;
        QTest::newRow("past the end") << 400.0 << 300.0 << 300 << 300;
        QTest::newRow("before the start") << -3.0 << 300.0 << 300 << 0;
        QTest::newRow("not a number") << qQNaN() << qQNaN() << 1 << 0;
        QTest::newRow("huge") << 1e12 << 1e12 << std::numeric_limits<int>::max()
                              << std::numeric_limits<int>::max();
    }
    void progress()
    {
        QFETCH(double, position);
        QFETCH(double, total);
        QFETCH(int, maximum);
        QFETCH(int, value);
        const ProgressSteps steps = MapProgress(position, total);
        QCOMPARE(steps.maximum, maximum);
        QCOMPARE(steps.value, value);
    }
};

QTEST_APPLESS_MAIN(TestJobRules)
#include "test_job_rules.moc"
