#pragma once

#include <functional>

class QObject;

namespace tomarina {

// SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C, the terminal closing) end the program the
// way "終了" does, so the settings are written. catch_end_signals() takes the signals from the start;
// one that arrives before handle_end_signals() waits until the event loop runs the handler.
void catch_end_signals();
void handle_end_signals(QObject* context, std::function<void()> handler);
// An end signal has arrived and waits for its handler: a start that waits on its own, outside the event
// loop, gives up at once.
bool end_signal_waiting();

} // namespace tomarina
