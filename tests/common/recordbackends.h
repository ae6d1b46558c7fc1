#pragma once
// The two databases a record test runs on: a SQLite file, or the test's own PostgreSQL server.

#include "pgserver.h"
#include "recordsettings.h"

#include <QtGlobal>

inline const QString Sqlite = QStringLiteral("SQLite");
inline const QString Postgres = QStringLiteral("PostgreSQL");

// The record on backend: the file sqliteFile, or the server's database.
inline RecordSettings recordSettingsFor(const QString &backend, const PgServer &server,
                                        const QString &sqliteFile)
{
    RecordSettings settings;
    settings.sqliteFile = sqliteFile;
    if (backend == Postgres) {
        settings.driver = QStringLiteral("QPSQL");
        settings.host = server.socketFolder();
        settings.port = PgServer::port();
        settings.database = PgServer::database();
        settings.user = PgServer::user();
    }
    return settings;
}

// Starts the server; where it cannot be started, says that its rows are skipped.
inline bool startPgServer(PgServer &server)
{
    const bool started = server.start();
    if (!started)
        qWarning("PostgreSQL rows are skipped: %s", qPrintable(server.errorText()));
    return started;
}

// Rows of the PostgreSQL server skip, saying why, where it could not be started.
#define SKIP_WITHOUT_SERVER(backend, running)                                                      \
    if ((backend) == Postgres && !(running))                                                       \
    QSKIP("no PostgreSQL server for the test (see the warning at the start)")
