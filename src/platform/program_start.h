#pragma once

#include <QString>
#include <functional>

class QObject;

namespace tomarina {

// Starts program with the address as its one argument, without a shell and without waiting, in a
// session of its own, so that it outlives this program and is never ended with it. When it ends with a
// failure status within early_seconds, failed runs from the event loop, while context lives; a program
// that is still running then, or ends well, is no longer watched. False when it cannot be started.
bool start_watched_program(const QString& program, const QString& address, QObject* context,
                           std::function<void()> failed, int early_seconds = 5);

} // namespace tomarina
