// Notifications against a fake notification service on a private bus that the test starts.
#include "platform/CDesktopNotifier.h"
#include "platform/CPlatformUi.h"

#include <QDBusConnection>
#include <QProcess>
#include <QtTest>

#include <cstdlib>

class CFakeNotifications : public QObject
{
    Q_OBJECT
public:
    QStringList calls;
public slots:
    uint Notify(const QString& app, uint, const QString& icon, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap& hints, int timeout)
    {
        calls << QStringList{app,
                             icon,
                             summary,
                             body,
                             hints["desktop-entry"].toString(),
                             QString::number(timeout)}
                     .join('|');
        return 1;
    }
};

class TestDesktopNotifier : public QObject
{
    Q_OBJECT
private slots:
    // With no session bus the program's notification goes nowhere, without a word; on a
    // bus it reaches the service with the program's name and icon.
    void notify()
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        QTest::failOnWarning(QRegularExpression(".*"));
        CPlatformUi::Get().Notify("3 files converted");

        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (!daemon.waitForStarted())
            std::exit(77); // skipped: no dbus-daemon (tools/install-deps.sh installs it)
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        CFakeNotifications fake;
        QDBusConnection service = QDBusConnection::connectToBus(address, "service");
        QVERIFY(service.registerObject("/org/freedesktop/Notifications", "org.freedesktop.Notifications",
                                       &fake, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService("org.freedesktop.Notifications"));
        QVERIFY(CDesktopNotifier(QDBusConnection::connectToBus(address, "program"))
                    .Notify("2 converted, 1 failed"));
        QTRY_COMPARE(fake.calls,
                     QStringList{"Virav Velmora Video Converter|virav-velmora-converter|2 converted, 1 "
                                 "failed||virav-velmora-converter|-1"});
        daemon.terminate();
        QVERIFY(daemon.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "test_desktop_notifier.moc"
