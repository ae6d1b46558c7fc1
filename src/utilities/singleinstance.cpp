#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

const QByteArray ActivateRequest = QByteArrayLiteral("activate\n");
// A running copy may be between taking the lock and listening; a later copy waits this long
// for it, then ends anyway: the running copy is there.
constexpr int ContactMsecs = 3000;
constexpr int RetryMsecs = 50;

QString userName()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

QString instanceKey(const QString &programFolder)
{
    QString folder = QFileInfo(programFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    const QByteArray identity = (userName() + u'\n' + folder).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("veltra-setcalibdate-") + QString::fromLatin1(hash.left(24));
}

// The user's runtime folder is emptied at logout and is private to the user; the temp folder
// only serves where there is none.
QString guardFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

// The copy that holds the guard, for an end of the process that runs no destructors.
SingleInstance *heldGuard = nullptr;

} // namespace

SingleInstance::SingleInstance(const QString &programFolder, QObject *parent)
    : QObject(parent),
      m_key(QDir(guardFolder()).filePath(instanceKey(programFolder))),
      m_lock(std::make_unique<QLockFile>(m_key + QStringLiteral(".lock")))
{
    // A copy may run for days: only a lock whose process is gone counts as stale, never an old one.
    m_lock->setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequest);
}

SingleInstance::~SingleInstance()
{
    release();
}

void SingleInstance::release()
{
    m_server.close();
    m_lock->unlock();
    if (heldGuard == this)
        heldGuard = nullptr;
}

bool SingleInstance::tryBecomeFirst()
{
    if (!m_lock->tryLock(0)) {
        // Anything but a lock held by another copy (a temp folder we cannot write, say) must not
        // keep the program from running.
        return m_lock->error() != QLockFile::LockFailedError;
    }
    // A socket left by a copy that crashed would make listening fail.
    QLocalServer::removeServer(m_key);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(m_key);
    // Registered once: std::quick_exit is how the program ends at once.
    static const bool registered = std::at_quick_exit([] {
                                       if (heldGuard)
                                           heldGuard->release();
                                   })
        == 0;
    Q_UNUSED(registered);
    heldGuard = this;
    return true;
}

bool SingleInstance::ActivatePrevInstance()
{
    const QDeadlineTimer deadline(ContactMsecs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_key);
        if (socket.waitForConnected(RetryMsecs)) {
            socket.write(ActivateRequest);
            const bool sent = socket.waitForBytesWritten(
                static_cast<int>(qMax<qint64>(deadline.remainingTime(), 1)));
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(RetryMsecs);
    }
    return false;
}

void SingleInstance::readRequest()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Only the one request exists; anything else from the socket is dropped.
            if (socket->readAll().contains(ActivateRequest))
                emit activationRequested();
        });
    }
}

void CheckPrevInstance(SingleInstance &guard)
{
    if (guard.tryBecomeFirst())
        return;
    guard.ActivatePrevInstance();
    std::fflush(nullptr);
    std::_Exit(0);
}
