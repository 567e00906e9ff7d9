#include "CDesktopNotifier.h"

#include "res/StringTable.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {
// The desktop entry's and the installed icon's name.
const QString kDesktopEntry = QStringLiteral("virav-velmora-converter");
constexpr int kServerChoosesTimeout = -1;
} // namespace

CDesktopNotifier::CDesktopNotifier(const QDBusConnection& bus) : m_bus(bus) {}

bool CDesktopNotifier::Notify(const QString& summary, const QString& body)
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry}};
    call << QStringLiteral(kProductName) << 0u << kDesktopEntry << summary << body << QStringList() << hints
         << kServerChoosesTimeout;
    return m_bus.send(call);
}
