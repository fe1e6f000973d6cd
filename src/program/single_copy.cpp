#include "program/single_copy.h"

#include "program/end_signals.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace tomarina {

namespace {

// Waits in short steps until done() or the time is up; an end signal stops the wait at once.
template <class Done> bool wait_until(Done done, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (end_signal_waiting() || deadline.hasExpired()) return false;
    }
    return true;
}

const QByteArray front_request = "front\n";
const QByteArray front_answer = "ok\n";

} // namespace

QString single_copy_server_name(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key = QFile::encodeName(canonical.isEmpty() ? folder : canonical) + '\0' +
                           QByteArray::number(::getuid());
    return QStringLiteral("tomarina-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

SingleCopy::SingleCopy(const QString& folder) : folder_(folder), lock_(folder) {}

SingleCopy::~SingleCopy() = default;

bool SingleCopy::ask_to_front() const {
    QLocalSocket socket;
    socket.connectToServer(single_copy_server_name(folder_));
    const auto open = [&socket] { return socket.state() != QLocalSocket::UnconnectedState; };
    if (!wait_until([&] { return !open() || socket.waitForConnected(100); }, 1000) || !open()) return false;
    socket.write(front_request);
    wait_until(
        [&] {
            return !open() || socket.canReadLine() || (socket.waitForReadyRead(100) && socket.canReadLine());
        },
        5000);
    return socket.canReadLine() && socket.readLine() == front_answer;
}

SingleCopy::Claim SingleCopy::claim(std::function<void()> to_front) {
    to_front_ = std::move(to_front);
    // A holder that does not answer may be a copy still starting, one just ending, or the tool looking
    // in for a moment: it is asked again for a little while, then the folder is used read-only.
    const QDeadlineTimer deadline(3000);
    // An end signal stops only the waiting: a start that needs none goes on to end as the program does.
    for (;;) {
        state_ = lock_.take();
        if (state_.kind == LockState::free) break;
        if (state_.kind == LockState::cannot_make) return Claim::no_lock;
        if (state_.kind != LockState::held) return Claim::refused;
        if (ask_to_front()) return Claim::other;
        if (end_signal_waiting()) return Claim::ended;
        if (deadline.hasExpired()) return Claim::refused;
        QThread::msleep(100);
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = single_copy_server_name(folder_);
    // A socket left by a copy that stopped without closing it; the lock says no copy runs.
    QLocalServer::removeServer(name);
    server_->listen(name);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (!s->readAll().contains(front_request.trimmed())) return;
                if (to_front_) to_front_();
                // The later start ends only on this answer.
                s->write(front_answer);
                s->flush();
            });
        }
    });
    return Claim::first;
}

} // namespace tomarina
