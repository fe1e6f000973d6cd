#pragma once

#include "data/text_rules.h"
#include "platform/disk_listing.h"
#include "platform/nested_loop.h"
#include "platform/platform.h"
#include "platform/program_start.h"
#include "platform/xdg_handler.h"

#include <QList>
#include <QMap>
#include <deque>
#include <functional>

namespace tomarina {

// Test double: answers message boxes from a queue (Ok when it is empty) and records every call.
class FakePlatform : public Platform {
  public:
    struct Message {
        QString text, title;
        MsgIcon icon;
        MsgButtons buttons;
    };
    struct Launch {
        QString program, address;
    };

    std::deque<MsgAnswer> answers;
    QList<Message> messages;
    QList<Launch> launches;
    // Values under HKEY_CLASSES_ROOT by "key|value name"; with desktop_handler, the desktop's own
    // handler files answer instead, as in the program.
    QMap<QString, RegistryValue> registry;
    bool desktop_handler = false;
    // The disk search walks these roots of a temporary tree through the real listings.
    QStringList roots;
    // Called before each folder's files are listed, so that a test can act during a search.
    std::function<void(const QString& folder)> on_list_files;
    QStringList help_calls; // "show:<topic>" and "close"
    bool help_open = false;
    QString help_topic;
    bool launch_result = true;

    // Set once the program's end has answered the boxes: every box is then answered as the end does.
    bool ending = false;

    MsgAnswer message(QWidget*, const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override {
        messages.append({text, title, icon, buttons});
        const MsgAnswer unanswered = buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
        if (ending) return unanswered;
        {
            // The box waits in a nested loop, where a test may act.
            NestedLoop loop;
        }
        if (ending) return unanswered;
        if (answers.empty()) return MsgAnswer::Ok;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void answer_waiting_messages() override { ending = true; }
    bool run_programs = false; // the programs really start, watched as the program watches them
    QObject started;
    bool start_program(const QString& program, const QString& address, std::function<void()> f) override {
        launches.append({program, address});
        return run_programs ? start_watched_program(program, address, &started, f) : launch_result;
    }
    // A text value as the registry holds it: code page 932 with its terminating NUL.
    void set_registry_text(const QString& key, const QString& value, const QString& text, int type = 1) {
        registry[key + u'|' + value] = RegistryValue{type, encode_cp932(text) + '\0'};
    }
    std::optional<RegistryValue> registry_value(const QString& key, const QString& value) override {
        if (desktop_handler) return desktop_registry_value(key, value);
        const auto it = registry.find(key + u'|' + value);
        if (it == registry.end()) return std::nullopt;
        return *it;
    }
    QStringList disk_roots() override { return roots; }
    QStringList list_files(const QString& folder) override {
        if (on_list_files) on_list_files(folder);
        return disk_list_files(folder);
    }
    QStringList list_folders(const QString& folder) override { return disk_list_folders(folder); }
    void show_help(const QString&, const QString& topic) override {
        help_calls << QStringLiteral("show:") + topic;
        help_open = true;
        help_topic = topic;
    }
    void close_help(const QString&) override {
        help_calls << QStringLiteral("close");
        help_open = false;
    }
    void set_ime(QWidget*, bool) override {}
};

} // namespace tomarina
