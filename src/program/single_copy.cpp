#include "program/single_copy.h"

#include "shared/program_folder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace tomarina {

QString single_copy_server_name(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key = QFile::encodeName(canonical.isEmpty() ? folder : canonical) + '\0' +
                           QByteArray::number(::getuid());
    return QStringLiteral("tomarina-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

SingleCopy::SingleCopy(const QString& folder) : folder_(folder), lock_(program_lock_path(folder)) {
    // Only a copy that no longer runs leaves a lock to take over; a running one is never timed out.
    lock_.setStaleLockTime(0);
}

SingleCopy::~SingleCopy() = default;

SingleCopy::Claim SingleCopy::claim(std::function<void()> to_front) {
    to_front_ = std::move(to_front);
    if (!lock_.tryLock(0)) {
        if (lock_.error() != QLockFile::LockFailedError) return Claim::no_lock;
        QLocalSocket socket;
        socket.connectToServer(single_copy_server_name(folder_));
        if (socket.waitForConnected(3000)) {
            socket.write("front\n");
            socket.waitForBytesWritten(3000);
            socket.disconnectFromServer();
            return Claim::other;
        }
        // Nobody answers: the holder may be the tool looking in for a moment, or a copy just ending.
        if (!lock_.tryLock(2000)) return lock_.error() == QLockFile::LockFailedError ? Claim::other : Claim::no_lock;
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
                if (s->readAll().contains("front") && to_front_) to_front_();
            });
        }
    });
    return Claim::first;
}

} // namespace tomarina
