// The text rules of job rows and of conversion outputs, as plain functions.
#include "jobs/JobOutput.h"
#include "jobs/JobRowText.h"
#include "jobs/ProgressSteps.h"

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
    }

    // Every title that would not name a visible file inside the output folder gets no name.
    void outputFileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        const char* const rows[][3]{{"last point counts", "x.y.mpg", "x.y.wmv"},
                                    {"no point: whole title", "clip", "clip.wmv"},
                                    {"empty base", ".mpg", ""},
                                    {"hidden base", ".secret.mpg", ""},
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
        QCOMPARE(OutputFileName(title, JobFormat::Wmv), name);
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
};

QTEST_APPLESS_MAIN(TestJobRules)
#include "test_job_rules.moc"
