#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace tomarina {

// One running copy of the program per program folder. The first copy holds a lock file in the folder
// and listens for later starts; a later start asks it to come to the front and ends. A lock left by a
// copy that no longer runs is taken over.
class SingleCopy : public QObject {
  public:
    enum class Claim {
        first,   // this copy runs; the lock is held
        other,   // another copy runs on the folder and was asked to come to the front
        no_lock, // the lock could not be made (a folder that cannot be written): run without it
    };

    explicit SingleCopy(const QString& folder);
    ~SingleCopy() override;

    // to_front is called whenever a later start asks this copy to come to the front.
    Claim claim(std::function<void()> to_front);

  private:
    QString folder_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
    std::function<void()> to_front_;
};

// The name later starts reach the running copy of folder under.
QString single_copy_server_name(const QString& folder);

} // namespace tomarina
