#pragma once

#include "shared/program_lock.h"

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace tomarina {

// One running copy of the program per program folder. The first copy holds the lock of the folder and
// listens for later starts; a later start asks it to come to the front and ends once it has answered. A
// lock left by a copy that no longer runs is taken over. Nothing here waits for long, nor past an end
// signal.
class SingleCopy : public QObject {
  public:
    enum class Claim {
        first,   // this copy runs; the lock is held
        other,   // another copy runs on the folder and came to the front
        no_lock, // the lock could not be made (a folder that cannot be written): run without it
        refused, // the lock could be neither taken nor its holder reached: lock_state() says why
        ended,   // an end signal came while the claim waited
    };

    explicit SingleCopy(const QString& folder);
    ~SingleCopy() override;

    // to_front is called whenever a later start asks this copy to come to the front.
    Claim claim(std::function<void()> to_front);
    // The lock as the last claim found it.
    const LockState& lock_state() const { return state_; }

  private:
    // Asks the copy holding the lock to come to the front; true once it has answered.
    bool ask_to_front() const;

    QString folder_;
    ProgramLock lock_;
    LockState state_;
    QLocalServer* server_ = nullptr;
    std::function<void()> to_front_;
};

// The name later starts reach the running copy of folder under.
QString single_copy_server_name(const QString& folder);

} // namespace tomarina
