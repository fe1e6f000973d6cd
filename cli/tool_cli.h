#pragma once

#include <QStringList>

namespace tomarina {

// tomarina-tool's command line: arguments as the program got them (the program name first). Help and
// the version go to standard output with exit 0; a bad command line is named on standard error with
// exit 2; otherwise the command's own exit code.
int run_tool(const QStringList& arguments);

} // namespace tomarina
