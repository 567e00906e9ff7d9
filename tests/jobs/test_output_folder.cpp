// The stored output folder: read back exactly as stored, with a sound default. And
// where the program's own data is found, in a build and once installed.
#include "jobs/DataFolder.h"
#include "jobs/OutputFolderStore.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestOutputFolder : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    }

    void init()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput").clear();
    }

    void absentGivesDefaultWithSeparatorAddedOnlyWhenMissing()
    {
        const QString folder = ReadStoredOutputFolder();
        QCOMPARE(folder, DefaultOutputFolder());
        QVERIFY(folder.endsWith(QDir::separator()));
        QVERIFY(QDir(folder).exists());
        const QString sep = QDir::separator();
        QCOMPARE(WithTrailingSeparator("out"), "out" + sep);
        QCOMPARE(WithTrailingSeparator("out" + sep), "out" + sep);
        QCOMPARE(WithTrailingSeparator(""), sep);
    }

    void storedValueComesBackExactly_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("without separator") << QDir::toNativeSeparators("/srv/out");
        QTest::newRow("spaces and unicode") << QString::fromUtf8("/home/ä user/Vidéos [1]/");
        QTest::newRow("longer than 255") << QString("/") + QString(300, QChar('x')) + "/";
    }
    // Kept as the default value of the organisation's LastOutput key.
    void storedValueComesBackExactly()
    {
        QFETCH(QString, stored);
        QVERIFY(StoreOutputFolder(stored));
        QCOMPARE(ReadStoredOutputFolder(), stored);
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "ZezuvVelmora", "LastOutput");
        QCOMPARE(settings.value("Default").toString(), stored);
    }

    void dataFolderBesideTheProgramOrInstalled()
    {
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        QVERIFY(root.mkpath("bin") && root.mkpath("share/virav-velmora-converter/Profiles"));
        const QString bin = root.filePath("bin");
        QCOMPARE(DataFolder(bin), root.filePath("share/virav-velmora-converter"));
        QVERIFY(root.mkpath("bin/Profiles")); // a build folder or a portable copy
        QCOMPARE(DataFolder(bin), bin);
        QCOMPARE(DataFolder(root.filePath("elsewhere")), root.filePath("elsewhere"));
    }
};

QTEST_GUILESS_MAIN(TestOutputFolder)
#include "test_output_folder.moc"
