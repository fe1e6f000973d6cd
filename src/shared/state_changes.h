#pragma once

#include <QPointer>
#include <functional>
#include <vector>

namespace tomarina {

// The facts of the shared state that windows show and another window may change.
enum class Fact {
    // The user part of the hotel table (appended anew after the user hotels changed).
    user_hotels,
    // inet_data1: whether the links can open a browser.
    browser_kind,
    // sort_key_name or user_sort_key_name.
    ordering,
};

// Tells the windows that follow a fact when it changes, so that none has to close or fill another to
// keep it current. A follower is dropped with its receiver.
class StateChanges {
  public:
    void follow(Fact fact, QObject* receiver, std::function<void()> act);
    // Runs the followers of fact, in the order they began to follow; one that goes away meanwhile is
    // skipped.
    void changed(Fact fact);

  private:
    struct Follower {
        Fact fact;
        QPointer<QObject> receiver;
        std::function<void()> act;
    };
    std::vector<Follower> followers_;
};

} // namespace tomarina
