#include "pgserver.h"

#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

constexpr int CommandLimitMs = 60000;

} // namespace

PgServer::~PgServer()
{
    stop();
}

QString PgServer::binFolder()
{
    const QString folder = QStringLiteral("/usr/lib/postgresql/15/bin");
    return QFileInfo(folder + QStringLiteral("/initdb")).isExecutable() ? folder : QString();
}

QString PgServer::dataFolder() const
{
    return m_dir.filePath(QStringLiteral("data"));
}

bool PgServer::run(const QString &program, const QStringList &arguments)
{
    const QStringList command = unprivilegedCommand(binFolder() + u'/' + program, arguments);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    if (!process.waitForFinished(CommandLimitMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        m_error =
            QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()));
        return false;
    }
    return true;
}

bool PgServer::start()
{
    if (binFolder().isEmpty()) {
        m_error = QStringLiteral("PostgreSQL 15 is not installed (tools/install-deps installs it)");
        return false;
    }
    if (!m_dir.isValid()
        || (runningAsRoot()
            && chown(QFile::encodeName(m_dir.path()).constData(), UnprivilegedId, UnprivilegedId)
                != 0)) {
        m_error = QStringLiteral("no temporary folder for the cluster");
        return false;
    }
    if (!run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), dataFolder(), QStringLiteral("-U"), user(),
              QStringLiteral("--auth=trust"), QStringLiteral("--encoding=UTF8"),
              QStringLiteral("--no-sync")}))
        return false;
    const QString options =
        QStringLiteral("-k %1 -c listen_addresses='' -p %2").arg(socketFolder()).arg(port());
    m_started = run(QStringLiteral("pg_ctl"),
                    {QStringLiteral("-D"), dataFolder(), QStringLiteral("-o"), options,
                     QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")),
                     QStringLiteral("-w"), QStringLiteral("start")});
    return m_started;
}

void PgServer::stop()
{
    if (!m_started)
        return;
    m_started = false;
    run(QStringLiteral("pg_ctl"),
        {QStringLiteral("-D"), dataFolder(), QStringLiteral("-m"), QStringLiteral("immediate"),
         QStringLiteral("-w"), QStringLiteral("stop")});
}
