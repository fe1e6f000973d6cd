#include "shared/state_changes.h"

#include <algorithm>

namespace tomarina {

void StateChanges::follow(Fact fact, QObject* receiver, std::function<void()> act) {
    std::erase_if(followers_, [](const Follower& f) { return !f.receiver; });
    followers_.push_back({fact, receiver, std::move(act)});
}

void StateChanges::changed(Fact fact) {
    // A copy: a follower may close windows, and with them followers, or add new ones.
    const std::vector<Follower> now = followers_;
    for (const Follower& f : now)
        if (f.fact == fact && f.receiver) f.act();
}

} // namespace tomarina
