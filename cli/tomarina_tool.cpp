// tomarina-tool: builds tomarina.dat from CSV sources, dumps a database through the program's reader,
// makes synthetic directories, and searches a program folder through the program's own code.
#include "cli/tool_cli.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return tomarina::run_tool(QCoreApplication::arguments());
}
