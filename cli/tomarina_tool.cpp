// tomarina-tool: builds tomarina.dat from CSV sources, dumps a database through the program's reader,
// makes synthetic directories, and searches a program folder through the program's own code.
#include "cli/tool_cli.h"
#include "cli/tool_output.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    tomarina::guard_standard_streams();
    QCoreApplication app(argc, argv);
    return tomarina::run_tool(QCoreApplication::arguments());
}
