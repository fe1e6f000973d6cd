// tomarina-tool: builds tomarina.dat from CSV sources, dumps a database through the program's reader,
// and makes synthetic directories.
#include "cli/db_builder.h"
#include "cli/tool_commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

void usage() {
    std::fputs("usage:\n"
               "  tomarina-tool build SOURCE_DIR OUT_FILE\n"
               "  tomarina-tool dump FILE\n"
               "  tomarina-tool generate --base SOURCE_DIR --hotels N [--seed S] OUT_DIR\n"
               "  tomarina-tool search --dir FOLDER --type N --key TEXT [--limit N] [--narrow NAME]... "
               "[--order NAME]\n"
               "  tomarina-tool order-user --dir FOLDER --order NAME\n",
               stderr);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 2;
    }
    const QString command = args.takeFirst();
    int rc = -1;
    if (command == u"build")
        rc = tomarina::tool_build(args);
    else if (command == u"dump")
        rc = tomarina::tool_dump(args);
    else if (command == u"generate")
        rc = tomarina::tool_generate(args);
    else if (command == u"search")
        rc = tomarina::tool_search(args);
    else if (command == u"order-user")
        rc = tomarina::tool_order_user(args);
    if (rc == -1) {
        usage();
        return 2;
    }
    return rc;
}
