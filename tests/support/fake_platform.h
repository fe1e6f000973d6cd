#pragma once

#include "platform/platform.h"

#include <QList>
#include <QMap>
#include <deque>

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
    QMap<QString, QString> registry;
    QStringList help_calls; // "show:<topic>" and "close"
    bool help_open = false;
    QString help_topic;
    bool launch_result = true;

    MsgAnswer message(QWidget*, const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override {
        messages.append({text, title, icon, buttons});
        if (answers.empty()) return MsgAnswer::Ok;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool start_program(const QString& program, const QString& address) override {
        launches.append({program, address});
        return launch_result;
    }
    std::optional<QString> registry_value(const QString& key, const QString& value) override {
        const auto it = registry.find(key + u'|' + value);
        if (it == registry.end()) return std::nullopt;
        return *it;
    }
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
