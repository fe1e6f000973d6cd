#include "cli/tool_cli.h"

#include "cli/tool_commands.h"
#include "cli/tool_output.h"
#include "data/hotel_tables.h"
#include "program/command_line.h"
#include "shared/app_state.h"
#include "shared/desktop_opener.h"
#include "shared/ordering.h"
#include "shared/program_lock.h"
#include "shared/shared_texts.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <functional>
#include <optional>

namespace tomarina {

namespace {

const QString tool_name = QStringLiteral("tomarina-tool");

// A refused command line: what was wrong, where to look, exit 2.
struct Refusal {
    QString message;
};

// Why the settings of folder are not to be made now, as the folder's lock tells; empty when nobody holds it.
QString lock_refusal(const QString& folder) {
    const LockState s = look_at_program_lock(folder);
    const QString lock = program_lock_path(folder);
    switch (s.kind) {
    case LockState::free:
    case LockState::cannot_make:
        return {};
    case LockState::held:
        return QStringLiteral("the program is running on this folder; end it first");
    case LockState::elsewhere:
        return QStringLiteral(
                   "the program may be running on this folder on the machine %1 (process %2); end it "
                   "there, or remove %3 if it does not run")
            .arg(s.host, QString::number(s.pid), lock);
    case LockState::not_regular:
        return QStringLiteral("cannot tell whether the program runs on this folder: %1 is not a regular file")
            .arg(lock);
    case LockState::linked:
        return QStringLiteral(
                   "cannot tell whether the program runs on this folder: %1 is a hard link to another file")
            .arg(lock);
    case LockState::unreadable:
        break;
    }
    return QStringLiteral("cannot tell whether the program runs on this folder: %1: %2")
        .arg(lock, system_reason(s.error));
}

struct Command {
    QString name;
    QString synopsis; // the arguments after the command's name
    QString summary;
    std::function<void(QCommandLineParser&)> options;
    std::function<int(const QCommandLineParser&)> run; // throws Refusal
};

QString joined_orderings() {
    QStringList names;
    for (int o = int(Ordering::ken); o <= int(Ordering::price); ++o) names << ordering_name(Ordering(o));
    return names.join(QStringLiteral(", "));
}

// The option's value, or its default; an option without either is missing.
QString value(const QCommandLineParser& p, const QString& option) {
    const QString v = p.value(option);
    if (v.isEmpty() && !p.isSet(option)) throw Refusal{QStringLiteral("missing --%1").arg(option)};
    return v;
}

long long number(const QCommandLineParser& p, const QString& option, long long low, long long high) {
    bool ok = false;
    const QString text = value(p, option);
    const long long n = text.toLongLong(&ok);
    if (!ok || n < low || n > high)
        throw Refusal{QStringLiteral("--%1 must be a whole number from %2 to %3, not '%4'")
                          .arg(option)
                          .arg(low)
                          .arg(high)
                          .arg(text)};
    return n;
}

QString folder(const QCommandLineParser& p, const QString& option) {
    const QString dir = value(p, option);
    if (!QFileInfo(dir).isDir()) throw Refusal{QStringLiteral("--%1: no such folder '%2'").arg(option, dir)};
    return dir;
}

QString ordering(const QCommandLineParser& p) {
    const QString name = value(p, QStringLiteral("order"));
    if (!ordering_of(name))
        throw Refusal{
            QStringLiteral("--order: unknown ordering '%1' (one of %2)").arg(name, joined_orderings())};
    return name;
}

QStringList positional(const QCommandLineParser& p, const QStringList& names) {
    const QStringList args = p.positionalArguments();
    if (args.size() > names.size())
        throw Refusal{QStringLiteral("unexpected argument '%1'").arg(args[names.size()])};
    if (args.size() < names.size()) throw Refusal{QStringLiteral("missing %1").arg(names[args.size()])};
    return args;
}

QCommandLineOption valued(const QString& name, const QString& description, const QString& value_name,
                          const QString& default_value = {}) {
    return QCommandLineOption(name, description, value_name, default_value);
}

const QList<Command>& commands() {
    static const QList<Command> list = {
        {QStringLiteral("build"), QStringLiteral("SOURCE_DIR OUT_FILE"),
         QStringLiteral("Turns the CSV sources of SOURCE_DIR into a directory file."),
         [](QCommandLineParser& p) {
             p.addPositionalArgument(QStringLiteral("SOURCE_DIR"),
                                     QStringLiteral("Folder of the CSV sources."));
             p.addPositionalArgument(QStringLiteral("OUT_FILE"),
                                     QStringLiteral("The directory file to write."));
         },
         [](const QCommandLineParser& p) {
             const QStringList a = positional(p, {QStringLiteral("SOURCE_DIR"), QStringLiteral("OUT_FILE")});
             if (!QFileInfo(a[0]).isDir()) throw Refusal{QStringLiteral("no such folder '%1'").arg(a[0])};
             return tool_build(a[0], a[1]);
         }},
        {QStringLiteral("dump"), QStringLiteral("FILE"),
         QStringLiteral("Prints the tables read from a directory file as one JSON object."),
         [](QCommandLineParser& p) {
             p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The directory file."));
         },
         [](const QCommandLineParser& p) { return tool_dump(positional(p, {QStringLiteral("FILE")})[0]); }},
        {QStringLiteral("generate"), QStringLiteral("--base SOURCE_DIR --hotels N [--seed S] OUT_DIR"),
         QStringLiteral("Writes CSV sources with N synthetic hotels, for benchmarks."),
         [](QCommandLineParser& p) {
             p.addOption(
                 valued(QStringLiteral("base"),
                        QStringLiteral("Sources whose prefectures, airports and districts are copied."),
                        QStringLiteral("SOURCE_DIR")));
             p.addOption(valued(QStringLiteral("hotels"),
                                QStringLiteral("Number of hotels, 0 to %1.").arg(HotelTables::hotel_capacity),
                                QStringLiteral("N")));
             p.addOption(valued(QStringLiteral("seed"), QStringLiteral("Random seed (default 1)."),
                                QStringLiteral("S"), QStringLiteral("1")));
             p.addPositionalArgument(QStringLiteral("OUT_DIR"),
                                     QStringLiteral("Folder for the new sources."));
         },
         [](const QCommandLineParser& p) {
             GenerateArgs g;
             g.base = folder(p, QStringLiteral("base"));
             g.hotels = int(number(p, QStringLiteral("hotels"), 0, HotelTables::hotel_capacity));
             g.seed = std::uint32_t(number(p, QStringLiteral("seed"), 0, 0xffffffffLL));
             g.out_dir = positional(p, {QStringLiteral("OUT_DIR")})[0];
             return tool_generate(g);
         }},
        {QStringLiteral("search"),
         QStringLiteral("--dir FOLDER --type N --key TEXT [--limit N] [--narrow NAME]... [--order NAME] "
                        "[--names]"),
         QStringLiteral("Searches a program folder as the search and results windows do and prints the hits "
                        "as JSON."),
         [](QCommandLineParser& p) {
             p.addOption(
                 valued(QStringLiteral("dir"),
                        QStringLiteral("Program folder: tomarina.dat and, when present, hotelusr.csv."),
                        QStringLiteral("FOLDER")));
             p.addOption(valued(QStringLiteral("type"),
                                QStringLiteral("1 prefecture, 2 airport, 3 hotel name, 4 district, 5 nearest "
                                               "station, 6 free keyword."),
                                QStringLiteral("N")));
             p.addOption(
                 valued(QStringLiteral("key"),
                        QStringLiteral("The entry, checked as the window checks it. With types 3 to 6 "
                                       "a key of blanks only (half- or full-width) finds every hotel "
                                       "whose compared fields are not all empty; types 1 and 2 refuse it."),
                        QStringLiteral("TEXT")));
             p.addOption(valued(QStringLiteral("limit"), QStringLiteral("Most hits (default 1000)."),
                                QStringLiteral("N"), QStringLiteral("1000")));
             p.addOption(valued(QStringLiteral("narrow"),
                                QStringLiteral("Keep only hits in this district; may be repeated."),
                                QStringLiteral("NAME")));
             p.addOption(valued(QStringLiteral("order"),
                                QStringLiteral("Ordering: %1.").arg(joined_orderings()),
                                QStringLiteral("NAME"), ordering_name(Ordering::ken)));
             p.addOption(
                 QCommandLineOption(QStringLiteral("names"), QStringLiteral("Add the hits' hotel names.")));
         },
         [](const QCommandLineParser& p) {
             SearchArgs a;
             a.dir = folder(p, QStringLiteral("dir"));
             a.type = int(number(p, QStringLiteral("type"), 1, 6));
             a.key = value(p, QStringLiteral("key"));
             a.limit = Integer(number(p, QStringLiteral("limit"), -32768, 32767));
             a.narrow = p.values(QStringLiteral("narrow"));
             if (a.narrow.size() > HotelTables::syousai_capacity)
                 throw Refusal{
                     QStringLiteral("at most %1 --narrow districts").arg(HotelTables::syousai_capacity)};
             a.order = ordering(p);
             a.names = p.isSet(QStringLiteral("names"));
             positional(p, {});
             return tool_search(a);
         }},
        {QStringLiteral("order-user"), QStringLiteral("--dir FOLDER --order NAME"),
         QStringLiteral("Orders the user's hotels of a program folder as the maintenance list does."),
         [](QCommandLineParser& p) {
             p.addOption(
                 valued(QStringLiteral("dir"), QStringLiteral("Program folder."), QStringLiteral("FOLDER")));
             p.addOption(valued(QStringLiteral("order"),
                                QStringLiteral("Ordering: %1.").arg(joined_orderings()),
                                QStringLiteral("NAME")));
         },
         [](const QCommandLineParser& p) {
             const QString dir = folder(p, QStringLiteral("dir"));
             const QString order = ordering(p);
             positional(p, {});
             return tool_order_user(dir, order);
         }},
        {QStringLiteral("init-settings"), QStringLiteral("--dir FOLDER"),
         QStringLiteral("Creates a program folder's tomarina.ini with the desktop's opener (xdg-open) as the "
                        "browser; an existing file is left as it is."),
         [](QCommandLineParser& p) {
             p.addOption(
                 valued(QStringLiteral("dir"), QStringLiteral("Program folder."), QStringLiteral("FOLDER")));
         },
         [](const QCommandLineParser& p) {
             const QString ini = QDir(folder(p, QStringLiteral("dir"))).filePath(AppState::ini_file);
             positional(p, {});
             // The running program writes its settings at its end, over whatever was made here meanwhile.
             if (const QString why = lock_refusal(QFileInfo(ini).path()); !why.isEmpty()) {
                 tell_file(ini, why);
                 return 1;
             }
             if (QFileInfo::exists(ini) || QFileInfo(ini).isSymLink()) {
                 print_out(QStringLiteral("%1: kept as it is\n").arg(ini));
                 return 0;
             }
             const QString opener = desktop_opener_path();
             if (opener.isEmpty()) {
                 tell_file(ini, QStringLiteral("not created: xdg-open not found"));
                 return 1;
             }
             if (!create_settings_with_opener(ini, opener)) {
                 tell_file(ini, system_reason(errno));
                 return 1;
             }
             print_out(QStringLiteral("%1: created, browser %2\n").arg(ini, opener));
             return 0;
         }},
    };
    return list;
}

QString tool_help() {
    QString text = QStringLiteral("Usage: %1 COMMAND [options]\n"
                                  "Builds, dumps and searches the hotel directory of %2.\n\n"
                                  "Commands:\n")
                       .arg(tool_name, shared_texts::app_title);
    for (const Command& c : commands())
        text += QStringLiteral("  %1 %2\n      %3\n").arg(c.name, c.synopsis, c.summary);
    text +=
        QStringLiteral("\nOptions:\n  -h, --help     Show this help, or a command's with %1 COMMAND --help.\n"
                       "  -v, --version  Show the version.\n\n"
                       "Exit status: 0 done, 1 a file could not be read or written, 2 a bad command line.\n")
            .arg(tool_name);
    return text;
}

// The parser's own help, with the command in the usage line.
QString command_help(const Command& c, const QCommandLineParser& p) {
    QString text = p.helpText();
    const qsizetype usage_end = text.indexOf(u'\n');
    text.replace(0, usage_end, QStringLiteral("Usage: %1 %2 %3").arg(tool_name, c.name, c.synopsis));
    return text;
}

int refuse(const QString& where, const QString& message) {
    set_message_prefix(where);
    tell(QStringLiteral("%1\nTry '%2 --help'.").arg(message, where));
    return 2;
}

int run_command(const QStringList& arguments) {
    const QStringList args = arguments.mid(1);
    if (args.isEmpty()) return refuse(tool_name, QStringLiteral("missing command"));
    const Command* command = nullptr;
    for (const Command& c : commands())
        if (c.name == args.first()) command = &c;
    if (!command && !args.first().startsWith(u'-'))
        return refuse(tool_name, QStringLiteral("unknown command '%1'").arg(args.first()));

    QCommandLineParser p;
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    p.addOption(help);
    p.addOption(version);
    if (command) {
        p.setApplicationDescription(command->summary);
        command->options(p);
    }
    // The parser takes the first element as the program's name: the command's own, or the tool's.
    const QString where = command ? tool_name + u' ' + command->name : tool_name;
    set_message_prefix(where);
    if (!p.parse(command ? args : arguments)) return refuse(where, p.errorText());
    if (p.isSet(help)) {
        print_out(command ? command_help(*command, p) : tool_help());
        return 0;
    }
    if (p.isSet(version)) {
        print_out(QStringLiteral("%1 %2\n").arg(tool_name, program_version()));
        return 0;
    }
    if (!command) return refuse(tool_name, QStringLiteral("missing command"));
    try {
        return command->run(p);
    } catch (const Refusal& r) {
        return refuse(where, r.message);
    }
}

} // namespace

int run_tool(const QStringList& arguments) {
    const int code = run_command(arguments);
    return finish_output() ? code : 1;
}

} // namespace tomarina
