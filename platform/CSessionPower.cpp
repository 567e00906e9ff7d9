#include "CSessionPower.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
// logind asks the user in the meantime, so the answer may take a while.
constexpr int kAnswerTimeoutMs = 120000;
} // namespace

CSessionPower::CSessionPower(const QDBusConnection& bus) : m_bus(bus) {}

void CSessionPower::Request(Action action, const Done& done)
{
    const QString method = action == Action::Suspend ? QStringLiteral("Suspend") : QStringLiteral("PowerOff");
    if (!m_bus.isConnected()) {
        done(QStringLiteral("%1: no system bus (%2)").arg(method, m_bus.lastError().message()));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), method);
    call << true; // interactive
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kAnswerTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [watcher, method, done] {
        const QDBusPendingReply<> reply = *watcher;
        done(reply.isError() ? QStringLiteral("%1: %2").arg(method, reply.error().message()) : QString());
        watcher->deleteLater();
    });
}
