// Desktop notifications through whatever serves org.freedesktop.Notifications on
// a D-Bus connection. Without a bus, or with no such service, nothing shows and
// nothing is said: a notification is a courtesy, never a failure.
#pragma once

#include <QDBusConnection>
#include <QString>

class CDesktopNotifier
{
public:
    explicit CDesktopNotifier(const QDBusConnection& bus);

    // Sends the notification without waiting for an answer; false when there is no bus.
    bool Notify(const QString& summary, const QString& body = QString());

private:
    QDBusConnection m_bus;
};
