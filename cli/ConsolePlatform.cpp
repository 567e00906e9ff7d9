#include "ConsolePlatform.h"

#ifdef Q_OS_WIN

#include <io.h>
#include <windows.h>

#include <cstdio>

namespace {
QObject* g_context = nullptr;
std::function<void()> g_onStop;

// Runs on a thread of its own that the system starts.
BOOL WINAPI OnConsoleControl(DWORD type)
{
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        return FALSE;
    QMetaObject::invokeMethod(g_context, g_onStop, Qt::QueuedConnection);
    return TRUE;
}
} // namespace

bool WatchStopRequests(QObject* context, std::function<void()> onStop)
{
    g_context = context;
    g_onStop = std::move(onStop);
    return SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

bool StandardOutputIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}

#else

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A signal handler may do little more than write(): it wakes the event loop through a pipe.
int g_stopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    if (write(g_stopPipe[1], &byte, 1) < 0) {
        // The pipe is full: a stop is already waiting.
    }
    errno = savedErrno;
}

bool MakePipe()
{
    if (pipe(g_stopPipe) != 0)
        return false;
    for (int end : g_stopPipe) {
        if (fcntl(end, F_SETFL, O_NONBLOCK) != 0 || fcntl(end, F_SETFD, FD_CLOEXEC) != 0)
            return false;
    }
    return true;
}

void DrainPipe()
{
    char bytes[64];
    while (read(g_stopPipe[0], bytes, sizeof bytes) > 0) {
    }
}
} // namespace

bool WatchStopRequests(QObject* context, std::function<void()> onStop)
{
    if (!MakePipe())
        return false;
    auto* notifier = new QSocketNotifier(g_stopPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [onStop = std::move(onStop)] {
        DrainPipe();
        onStop();
    });
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

bool StandardOutputIsTerminal()
{
    return isatty(STDOUT_FILENO) != 0;
}

#endif
