#pragma once

#include <QByteArray>
#include <QString>

namespace tomarina {

// Everything tomarina-tool prints. Messages go to standard error as "tomarina-tool <command>: ...".
// Standard output is checked: a write that fails there (a full disk, a closed stream, a pipe whose
// reader is gone) is remembered, and finish_output() reports it.

// The "tomarina-tool <command>" that starts every message of this run.
void set_message_prefix(const QString& where);
void tell(const QString& message);
// "FILE: reason", named the way a shell user typed it.
void tell_file(const QString& file, const QString& reason);

void print_out(const QByteArray& bytes);
void print_out(const QString& text);

// Flushes standard output; false, after saying so, when any write to it failed.
bool finish_output();

// Keeps a closed standard output from being taken over by a file the tool opens later: the slot gets a
// read-only /dev/null, so writes to it fail and are reported.
void guard_standard_streams();

// The system's reason for an errno value, in English whatever the locale.
QString system_reason(int error_number);

// Why path cannot be read: missing, not a regular file, or the system's reason for refusing it.
QString unreadable_reason(const QString& path);

} // namespace tomarina
