#pragma once
// Where the calibration record lives: section [Record] of the settings file.
//
//   [Record]
//   Driver=QPSQL          ; QSQLITE (default) or QPSQL
//   Host=db.lab.example   ; a host name, or the folder of the server's socket
//   Port=5432
//   Database=veltra
//   User=bench
//   Reference=Cs-137 source S-0042   ; the bench's reference source, kept in each entry
//
// With QSQLITE the record is the file VeltraCalibRecord.db beside the settings file, and the
// other keys are not used. The settings hold no password: libpq finds it in ~/.pgpass, the file
// named by PGPASSFILE or a service file.

#include <QString>

inline const QString RecordFileName = QStringLiteral("VeltraCalibRecord.db");

struct RecordSettings
{
    QString driver = QStringLiteral("QSQLITE");
    QString sqliteFile; // QSQLITE: the record file
    QString host; // QPSQL; empty lets libpq choose
    int port = 5432;
    QString database = QStringLiteral("veltra");
    QString user; // empty lets libpq take the account name
    QString reference; // empty: none named

    // Reads section [Record] of the settings file; the record file lies in the same folder.
    static RecordSettings fromSettingsFile(const QString &iniFile);

    bool isPostgres() const { return driver == QLatin1String("QPSQL"); }
    // Names the record for a message: the file, or the server and database.
    QString describe() const;
};
