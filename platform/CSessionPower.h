// Suspending or powering off the machine through systemd-logind
// (org.freedesktop.login1) on a D-Bus connection, the system bus for real. The
// request is interactive: where the machine's policy asks, the desktop asks the user
// for leave.
#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>

class CSessionPower
{
public:
    enum class Action
    {
        Suspend = 1,
        PowerOff = 2,
    };
    // What logind answered: empty when it took the request, else why not.
    using Done = std::function<void(const QString& error)>;

    explicit CSessionPower(const QDBusConnection& bus);

    // Sends the request and returns at once; done is called once the answer is in.
    void Request(Action action, const Done& done);

private:
    QDBusConnection m_bus;
};
