#include "skin/BrowserCommand.h"
#include "skin/CLinkStatic.h"
#include "skin/CSkinTestHost.h"
#include "support/CShellRecorder.h"

#include <QTemporaryDir>

namespace {
struct LinkFixture
{
    explicit LinkFixture(const QString& caption)
    {
        link.setText(caption);
        link.setGeometry(10, 10, 200, 40);
        link.PreSubclassWindow();
        QVERIFY(host.ShowExposed());
        host.PointAway();
    }
    // Whether some of the link's text (its underline at least) shows in exactly this colour.
    bool Shows(QRgb color)
    {
        return !InkBox(host.Shot(link), [color](QRgb rgb) { return rgb == color; }).isEmpty();
    }

    CSkinTestHost host;
    CLinkStatic link{&host};
};

} // namespace

class TestLinkStatic : public QObject
{
    Q_OBJECT
private slots:
    void linkLooksClicksAndVisits()
    {
        const QRgb blue = qRgb(0, 0, 255), purple = qRgb(85, 26, 139), red = qRgb(255, 0, 0);
        CShellRecorder ui;
        LinkFixture f(QStringLiteral("https://a.example/"));
        QCOMPARE(f.link.toolTip(), QStringLiteral("https://a.example/"));
        QTRY_VERIFY(f.Shows(blue));

        f.host.PointAt(f.link);
        QTRY_VERIFY(f.Shows(red));
        QVERIFY(!f.Shows(blue));
        // A double click as the platform delivers it (press, release, double click, release) opens once.
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const bool down = type != QEvent::MouseButtonRelease;
            QMouseEvent event(type, QPointF(2, 2), f.link.mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                              down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&f.link, &event);
        }
        // A press that ends off the link is no click.
        QTest::mousePress(&f.link, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(&f.link, Qt::LeftButton, {}, QPoint(-20, 2));
        QCOMPARE(ui.shellRequests, QStringList{QStringLiteral("open|https://a.example/")});
        QVERIFY(f.link.IsVisited());
        QVERIFY(f.Shows(red)); // the pointer is still over it

        f.host.PointAway();
        QTRY_VERIFY(f.Shows(purple));
        QVERIFY(!f.Shows(red));
    }

    void browserLaunchFromRegisteredCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("launch"); // program|argument|...
        const QString url = QStringLiteral("https://a.example/");
        const QString hostile = QStringLiteral(R"(https://a.example/?q=a b"; rm -rf ~ ;")");
        QTest::newRow("quoted placeholder")
            << R"("C:\Program Files\Web\browser.exe" -nohome "%1")" << url
            << R"(C:\Program Files\Web\browser.exe|-nohome|https://a.example/)";
        QTest::newRow("bare placeholder")
            << "firefox-esr --new-window %1 --later" << url << "firefox-esr|--new-window|https://a.example/";
        QTest::newRow("no placeholder")
            << "/usr/bin/chromium --incognito" << url << "/usr/bin/chromium|--incognito|https://a.example/";
        QTest::newRow("URL stays one argument") << "browser %1" << hostile << "browser|" + hostile;
        QTest::newRow("nothing to start") << R"("%1")" << url << QString();
    }
    void browserLaunchFromRegisteredCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, url);
        QFETCH(QString, launch);
        const BrowserLaunch built = BuildBrowserLaunch(command, url);
        QCOMPARE((QStringList(built.program) + built.arguments).join(QLatin1Char('|')), launch);
    }

    // The desktop's tools are stood in for by a script that names a desktop file of our own,
    // whose command the fallback starts with its field codes replaced.
    void fallbackStartsTheDefaultBrowser()
    {
#ifdef Q_OS_LINUX
        QTemporaryDir dir;
        const QList<QPair<QString, QByteArray>> files = {
            {"bin/xdg-settings", "#!/bin/sh\necho testweb.desktop\n"},
            { "data/applications/testweb.desktop",
              "[Desktop Action new]\nExec=wrong %u\n\n[Desktop Entry]\n"
              "Exec = testweb --class=%c --ratio=50%% --new-tab %u\n" }};
        for (const auto& [name, text] : files) {
            QFile file(dir.filePath(name));
            QVERIFY(QDir(dir.path()).mkpath(QFileInfo(file).path()));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
            file.close();
            QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("PATH", dir.filePath(QStringLiteral("bin")).toLocal8Bit() + ':' + path);
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());

        CShellRecorder ui(false); // the shell opens nothing
        const bool opened = CLinkStatic::OpenURL(QStringLiteral(" mailto:support@a.example "));
        qputenv("PATH", path);
        qputenv("XDG_DATA_HOME", dataHome);
        QVERIFY(opened);
        QCOMPARE(ui.shellRequests, QStringList{QStringLiteral("open|mailto:support@a.example")});
        QCOMPARE(ui.programsStarted, QStringList{QStringLiteral(
                                         "testweb|--class=|--ratio=50%|--new-tab|mailto:support@a.example")});
#else
        QSKIP("The browser lookup of this platform reads the registry");
#endif
    }
};

QTEST_MAIN(TestLinkStatic)
#include "test_link_static.moc"
