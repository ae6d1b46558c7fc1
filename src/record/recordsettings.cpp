#include "recordsettings.h"

#include "inifile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString Section = QStringLiteral("Record");

} // namespace

RecordSettings RecordSettings::fromSettingsFile(const QString &iniFile)
{
    RecordSettings settings;
    const auto read = [&](const char *key, const QString &defaultText) {
        return IniFile::readString(iniFile, Section, QString::fromLatin1(key), defaultText)
            .trimmed();
    };
    settings.driver = read("Driver", settings.driver).toUpper();
    settings.sqliteFile = QDir(QFileInfo(iniFile).absolutePath()).filePath(RecordFileName);
    settings.host = read("Host", settings.host);
    bool portOk = false;
    const int port = read("Port", QString::number(settings.port)).toInt(&portOk);
    // A port that is no number keeps no meaning; 0 makes the connection fail with its name shown.
    settings.port = portOk && port > 0 && port < 65536 ? port : 0;
    settings.database = read("Database", settings.database);
    settings.user = read("User", settings.user);
    settings.reference = read("Reference", settings.reference);
    return settings;
}

QString RecordSettings::describe() const
{
    if (!isPostgres())
        return QDir::toNativeSeparators(sqliteFile);
    const QString server = host.isEmpty() ? QStringLiteral("the local server") : host;
    return QStringLiteral("database \"%1\" on the PostgreSQL server %2, port %3")
        .arg(database, server)
        .arg(port);
}
