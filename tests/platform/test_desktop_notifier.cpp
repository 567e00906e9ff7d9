// Notifications against a fake notification service on a private bus that the test starts.
#include "platform/CDesktopNotifier.h"
#include "platform/CPlatformUi.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <cstdio>

class CFakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList calls;

public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout)
    {
        calls << QStringList{app,
                             QString::number(replaces),
                             icon,
                             summary,
                             body,
                             actions.join(','),
                             hints.value("desktop-entry").toString(),
                             QString::number(timeout)}
                     .join('|');
        return uint(calls.size());
    }
};

class TestDesktopNotifier : public QObject
{
    Q_OBJECT
private slots:
    // With no session bus the program's notification goes nowhere, without a word.
    void noBusIsSilent()
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        QTest::failOnWarning(QRegularExpression(".*"));
        CPlatformUi::Get().Notify("3 files converted");
    }

    void notificationReachesTheService()
    {
        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        CFakeNotifications fake;
        QDBusConnection service = QDBusConnection::connectToBus(address, "service");
        QVERIFY(
            service.registerObject("/org/freedesktop/Notifications", &fake, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService("org.freedesktop.Notifications"));
        QVERIFY(CDesktopNotifier(QDBusConnection::connectToBus(address, "program"))
                    .Notify("2 converted, 1 failed"));
        QTRY_COMPARE(fake.calls,
                     QStringList{"Virav Velmora Video Converter|0|virav-velmora-converter|2 converted, "
                                 "1 failed|||virav-velmora-converter|-1"});
        QDBusConnection::disconnectFromBus("program");
        QDBusConnection::disconnectFromBus("service");
        daemon.terminate();
        QVERIFY(daemon.waitForFinished(10000));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
        std::fprintf(stderr, "skipped: no dbus-daemon (tools/install-deps.sh installs it)\n");
        return 77;
    }
    TestDesktopNotifier test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_desktop_notifier.moc"
