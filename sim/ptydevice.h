#pragma once
// The instrument's end of a pseudo-terminal.
//
// The simulator holds a descriptor of the client side (the slave) itself, so the terminal does not
// hang up between two client openings. It watches the slave's device node for openings and
// closings (inotify); when the last client has gone it clears the exclusive-use flag and the
// input queues and puts the line back to raw 8N1, because a client killed with the port open
// leaves its settings behind and the next opening can fail on them.

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

class PtyDevice : public QObject
{
    Q_OBJECT
public:
    explicit PtyDevice(QObject *parent = nullptr);
    ~PtyDevice() override;
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    bool open(QString &error);
    QString path() const { return m_path; }
    bool isOpen() const { return m_master >= 0; }

    // Writes what the terminal takes now and returns how many bytes that was.
    qsizetype write(const QByteArray &bytes);
    // The device disappears: every descriptor is closed, clients see a hang-up.
    void hangUp();

signals:
    void received(const QByteArray &bytes);
    void clientGone();

private:
    void readMaster();
    void readWatch();
    void resetLine();

    int m_master = -1;
    int m_slave = -1;
    int m_watch = -1;
    int m_clients = 0;
    QString m_path;
    QSocketNotifier *m_masterNotifier = nullptr;
    QSocketNotifier *m_watchNotifier = nullptr;
};
