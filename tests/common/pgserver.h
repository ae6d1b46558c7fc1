#pragma once
// Test fixture: a throwaway PostgreSQL 15 server. initdb makes a cluster in a temporary folder
// (as "nobody" when the test runs as root, since the server refuses root), and the server listens
// only on a socket in that folder: Host=<socketFolder()> reaches it, no TCP port is taken. The
// server stops when the fixture goes away, also after a failed test.

#include <QString>
#include <QTemporaryDir>

class PgServer
{
public:
    PgServer() = default;
    ~PgServer();
    PgServer(const PgServer &) = delete;
    PgServer &operator=(const PgServer &) = delete;

    // Where the server programs live; empty when PostgreSQL 15 is not installed.
    static QString binFolder();

    // Makes the cluster and starts the server; false with errorText() on failure.
    bool start();
    // Stops the server at once; the cluster stays until the fixture goes away.
    void stop();

    QString socketFolder() const { return m_dir.path(); }
    static int port() { return 5432; }
    static QString user() { return QStringLiteral("veltra"); }
    static QString database() { return QStringLiteral("postgres"); }
    QString errorText() const { return m_error; }

private:
    bool run(const QString &program, const QStringList &arguments);
    QString dataFolder() const;

    QTemporaryDir m_dir{QStringLiteral("/tmp/veltra-pg-XXXXXX")};
    bool m_started = false;
    QString m_error;
};
