#include "skin/BrowserCommand.h"
#include "skin/CLinkStatic.h"
#include "support/CShellRecorder.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QColor kBlue(0, 0, 255);
const QColor kPurple(85, 26, 139);
const QColor kRed(255, 0, 0);

class LinkFixture
{
public:
    explicit LinkFixture(const QString& caption, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
    {
        m_host.resize(300, 120);
        QPalette colors = m_host.palette();
        colors.setColor(QPalette::Window, Qt::white);
        m_host.setPalette(colors);
        m_host.setAutoFillBackground(true);
        link.setParent(&m_host);
        link.setAlignment(alignment);
        link.setText(caption);
        link.setGeometry(kPlace);
        link.PreSubclassWindow();
        m_host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host));
        PointAway();
    }

    void PointAt(QPoint hostPos)
    {
        QCursor::setPos(m_host.mapToGlobal(hostPos));
        QTest::mouseMove(&m_host, hostPos);
    }
    void PointAtLink() { PointAt(link.geometry().center()); }
    void PointAway() { PointAt(QPoint(290, 110)); }

    // Whether the link's text shows in exactly this colour (its underline does).
    bool Shows(const QColor& color)
    {
        const QImage shot = m_host.grab(link.geometry()).toImage();
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if ((shot.pixel(x, y) | 0xFF000000u) == color.rgb())
                    return true;
            }
        }
        return false;
    }

    static constexpr QRect kPlace{10, 10, 200, 40};

private:
    QWidget m_host;

public:
    CLinkStatic link;
};
} // namespace

class TestLinkStatic : public QObject
{
    Q_OBJECT
private slots:
    void setUpTakesTheCaptionAsURL();
    void fitsToTextByAlignment_data();
    void fitsToTextByAlignment();
    void newURLRefitsAndRetitles();
    void coloursFollowHoverAndVisit();
    void clickOpensTheTrimmedURLOnce();
    void browserLaunchFromRegisteredCommands_data();
    void browserLaunchFromRegisteredCommands();
    void desktopEntriesGiveTheirCommand();
    void fallbackStartsTheDefaultBrowser();
};

void TestLinkStatic::setUpTakesTheCaptionAsURL()
{
    LinkFixture f(QStringLiteral("https://viravvelmora.example/ "));
    QCOMPARE(f.link.LinkURL(), QStringLiteral("https://viravvelmora.example/ "));
    QCOMPARE(f.link.toolTip(), f.link.LinkURL());
    QVERIFY(f.link.font().underline());
    QCOMPARE(f.link.cursor().shape(), Qt::PointingHandCursor);

    CLinkStatic captionless;
    captionless.SetLinkURL(QStringLiteral("https://a.example/"));
    captionless.PreSubclassWindow();
    QCOMPARE(captionless.text(), QStringLiteral("https://a.example/"));
}

void TestLinkStatic::fitsToTextByAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("horizontal"); // edge or centre kept
    QTest::addColumn<QString>("vertical");
    QTest::newRow("left, top") << int(Qt::AlignLeft | Qt::AlignTop) << "left" << "top";
    QTest::newRow("centred") << int(Qt::AlignHCenter | Qt::AlignTop) << "centre" << "top";
    QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignTop) << "right" << "top";
    QTest::newRow("centred image") << int(Qt::AlignLeft | Qt::AlignVCenter) << "left" << "centre";
    QTest::newRow("both centred") << int(Qt::AlignCenter) << "centre" << "centre";
}

void TestLinkStatic::fitsToTextByAlignment()
{
    QFETCH(int, alignment);
    QFETCH(QString, horizontal);
    QFETCH(QString, vertical);
    LinkFixture f(QStringLiteral("abc"), Qt::Alignment(alignment));
    const QFontMetrics metrics(f.link.font());
    const int textWidth = metrics.horizontalAdvance(QStringLiteral("abc"));
    const int textHeight = metrics.height();
    const QRect place = LinkFixture::kPlace;
    const QRect fitted = f.link.geometry();

    const int shrinkX = (place.width() - textWidth) / 2;
    QCOMPARE(fitted.width(), horizontal == QLatin1String("centre") ? place.width() - 2 * shrinkX : textWidth);
    if (horizontal == QLatin1String("left"))
        QCOMPARE(fitted.left(), place.left());
    else if (horizontal == QLatin1String("right"))
        QCOMPARE(fitted.right(), place.right());
    else
        QCOMPARE(fitted.left(), place.left() + shrinkX);

    const int shrinkY = (place.height() - textHeight) / 2;
    if (vertical == QLatin1String("top"))
        QCOMPARE(fitted, QRect(fitted.left(), place.top(), fitted.width(), textHeight));
    else
        QCOMPARE(fitted,
                 QRect(fitted.left(), place.top() + shrinkY, fitted.width(), place.height() - 2 * shrinkY));
}

void TestLinkStatic::newURLRefitsAndRetitles()
{
    LinkFixture f(QStringLiteral("support@a.example"));
    f.link.setGeometry(LinkFixture::kPlace);
    f.link.SetLinkURL(QStringLiteral("mailto:support@a.example"));
    QCOMPARE(f.link.text(), QStringLiteral("support@a.example"));
    QCOMPARE(f.link.toolTip(), QStringLiteral("mailto:support@a.example"));
    QCOMPARE(f.link.width(), QFontMetrics(f.link.font()).horizontalAdvance(f.link.text()));
}

void TestLinkStatic::coloursFollowHoverAndVisit()
{
    CShellRecorder ui;
    LinkFixture f(QStringLiteral("https://a.example/"));
    QVERIFY(f.Shows(kBlue));

    f.PointAtLink();
    QTRY_VERIFY_WITH_TIMEOUT(f.Shows(kRed), 1000);
    QVERIFY(!f.Shows(kBlue));

    QTest::mouseClick(&f.link, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(f.link.IsVisited());
    QVERIFY(f.Shows(kRed)); // the pointer still over it

    f.PointAway();
    QTRY_VERIFY_WITH_TIMEOUT(f.Shows(kPurple), 1000);
    QVERIFY(!f.Shows(kRed));
}

void TestLinkStatic::clickOpensTheTrimmedURLOnce()
{
    CShellRecorder ui;
    LinkFixture f(QStringLiteral("https://viravvelmora.example/ "));
    // A double click as the platform delivers it: press, release, double click, release.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, QPointF(2, 2), f.link.mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                          down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.link, &event);
    }
    QCOMPARE(ui.shellRequests, QStringList{QStringLiteral("open|https://viravvelmora.example/")});
    QVERIFY(ui.programsStarted.isEmpty());

    // A press that ends off the link is no click.
    QTest::mousePress(&f.link, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&f.link, Qt::LeftButton, {}, QPoint(-20, 2));
    QCOMPARE(ui.shellRequests.size(), 1);
}

void TestLinkStatic::browserLaunchFromRegisteredCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    const QString url = QStringLiteral("https://a.example/");
    QTest::newRow("quoted placeholder")
        << R"("C:\Program Files\Web\browser.exe" -nohome "%1")" << url
        << R"(C:\Program Files\Web\browser.exe)" << QStringList{QStringLiteral("-nohome"), url};
    QTest::newRow("bare placeholder") << "firefox-esr --new-window %1 --later" << url << "firefox-esr"
                                      << QStringList{QStringLiteral("--new-window"), url};
    QTest::newRow("no placeholder") << "/usr/bin/chromium --incognito" << url << "/usr/bin/chromium"
                                    << QStringList{QStringLiteral("--incognito"), url};
    QTest::newRow("URL stays one argument")
        << "browser %1" << R"(https://a.example/?q=a b"; rm -rf ~ ;")" << "browser"
        << QStringList{QStringLiteral(R"(https://a.example/?q=a b"; rm -rf ~ ;")")};
    QTest::newRow("nothing to start") << R"("%1")" << url << QString() << QStringList();
    QTest::newRow("no command") << QString() << url << QString() << QStringList();
}

void TestLinkStatic::browserLaunchFromRegisteredCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, url);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    const BrowserLaunch launch = BuildBrowserLaunch(command, url);
    QCOMPARE(launch.program, program);
    QCOMPARE(launch.arguments, arguments);
}

void TestLinkStatic::desktopEntriesGiveTheirCommand()
{
    const QString entry = QStringLiteral("[Desktop Action new]\nExec=wrong %u\n\n[Desktop Entry]\nName=Web\n"
                                         "Exec = /opt/web\\sbrowser/web --class=%c %U\nIcon=web\n");
    QCOMPARE(DesktopEntryExec(entry), QStringLiteral("/opt/web browser/web --class=%c %U"));
    QCOMPARE(DesktopEntryExec(QStringLiteral("[Desktop Entry]\nName=No command\n")), QString());
    QCOMPARE(CommandFromDesktopExec(QStringLiteral("web --class=%c %U --ratio=50%%")),
             QStringLiteral("web --class= %1 --ratio=50%"));
    QCOMPARE(CommandFromDesktopExec(QStringLiteral("web %i %f")), QStringLiteral("web  %1"));
}

// The desktop's tools are stood in for by scripts that name a desktop file of our own.
void TestLinkStatic::fallbackStartsTheDefaultBrowser()
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir(dir.path()).mkpath(QStringLiteral("bin"));
    QDir(dir.path()).mkpath(QStringLiteral("data/applications"));
    QFile tool(dir.filePath(QStringLiteral("bin/xdg-settings")));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\necho testweb.desktop\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
    QFile desktop(dir.filePath(QStringLiteral("data/applications/testweb.desktop")));
    QVERIFY(desktop.open(QIODevice::WriteOnly));
    desktop.write("[Desktop Entry]\nType=Application\nName=Test Web\nExec=testweb --new-tab %u\n");
    desktop.close();
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
    QCOMPARE(ui.programsStarted, QStringList{QStringLiteral("testweb|--new-tab|mailto:support@a.example")});
#else
    QSKIP("The browser lookup of this platform reads the registry");
#endif
}

QTEST_MAIN(TestLinkStatic)
#include "test_link_static.moc"
