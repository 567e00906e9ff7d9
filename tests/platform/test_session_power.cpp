// Suspend and power off against a fake logind on a private bus that the test starts.
#include "platform/CSessionPower.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <optional>

class CFakeLogind : public QObject, protected QDBusContext
{
    Q_OBJECT
public:
    QStringList calls;
    bool refuse = false;
public slots:
    void Suspend(bool interactive) { Answer("Suspend", interactive); }
    void PowerOff(bool interactive) { Answer("PowerOff", interactive); }

private:
    void Answer(const QString& method, bool interactive)
    {
        calls << method + (interactive ? "|interactive" : "|quiet");
        if (refuse)
            sendErrorReply("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", "Access denied");
    }
};

namespace {
// A bus of its own, open to anyone, standing in for the system bus.
const char kBusConfig[] =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>\n"
    "<policy context=\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow "
    "own=\"*\"/></policy></busconfig>\n";

QString Answer(CSessionPower& power, CSessionPower::Action action)
{
    std::optional<QString> answer;
    power.Request(action, [&answer](const QString& error) { answer = error; });
    if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, 10000))
        return "no answer";
    return *answer;
}
} // namespace

class TestSessionPower : public QObject
{
    Q_OBJECT
private slots:
    // Each action is one interactive call of its method; logind's refusal comes back
    // with the method and its reason, and so does a missing bus.
    void requestsReachLogind()
    {
        CSessionPower nowhere(QDBusConnection("never connected"));
        QVERIFY(Answer(nowhere, CSessionPower::Action::Suspend).startsWith("Suspend: no system bus"));

        QTemporaryDir dir;
        QFile config(dir.filePath("bus.conf"));
        QVERIFY(config.open(QIODevice::WriteOnly) && config.write(kBusConfig) > 0);
        config.close();
        QProcess daemon;
        daemon.start("dbus-daemon", {"--config-file=" + config.fileName(), "--nofork", "--print-address"});
        if (!daemon.waitForStarted())
            std::exit(77); // skipped: no dbus-daemon (tools/install-deps.sh installs it)
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        CFakeLogind fake;
        QDBusConnection service = QDBusConnection::connectToBus(address, "service");
        QVERIFY(service.registerObject("/org/freedesktop/login1", "org.freedesktop.login1.Manager", &fake,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService("org.freedesktop.login1"));

        CSessionPower power(QDBusConnection::connectToBus(address, "program"));
        QCOMPARE(Answer(power, CSessionPower::Action::Suspend), QString());
        fake.refuse = true;
        QCOMPARE(Answer(power, CSessionPower::Action::PowerOff), QString("PowerOff: Access denied"));
        QCOMPARE(fake.calls, (QStringList{"Suspend|interactive", "PowerOff|interactive"}));
        daemon.terminate();
        QVERIFY(daemon.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestSessionPower)
#include "test_session_power.moc"
