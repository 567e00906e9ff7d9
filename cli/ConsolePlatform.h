// The converter's one platform file: the user's request to stop (Ctrl+C: SIGINT, and
// SIGTERM; on Windows the console's Ctrl+C and Ctrl+Break), and whether standard output
// is a terminal.
#pragma once

#include <QObject>

#include <functional>

// Calls onStop from context's event loop each time a stop is asked for; false when the
// requests cannot be watched.
bool WatchStopRequests(QObject* context, std::function<void()> onStop);

bool StandardOutputIsTerminal();
