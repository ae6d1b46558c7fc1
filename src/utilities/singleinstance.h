#pragma once
// One running copy of the program per user and program folder.
//
// The first copy holds a lock file and listens on a local socket, both in the user's runtime
// folder (the temp folder where there is none) and named after a hash of the user and the
// canonical program folder, so copies in different folders are different programs. A later copy
// finds the lock taken, asks the running copy over the socket to come to the front and ends. A
// lock left behind by a copy that crashed is taken over (the lock file records the process, which
// no longer runs). The holder removes both files when it is destroyed and when the process ends
// through std::quick_exit. Qt Core and Network only.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &programFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when no other copy runs; this copy then holds the lock and listens for later copies.
    bool tryBecomeFirst();
    // Asks the running copy to come to the front; true when it took the request.
    bool ActivatePrevInstance();
    // Stops listening and removes the socket and the lock file; a later copy runs as the first.
    void release();

    // The socket's path; the lock file is this path with ".lock" appended.
    QString key() const { return m_key; }

signals:
    // A later copy asked this one to come to the front.
    void activationRequested();

private:
    void readRequest();

    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

// Returns only when no other copy runs; otherwise brings that copy to the front and ends this
// process at once (exit code 0).
void CheckPrevInstance(SingleInstance &guard);
