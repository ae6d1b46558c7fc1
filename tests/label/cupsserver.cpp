#include "cupsserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace {

constexpr int CommandLimitMs = 60000;
const QString Ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");
const QString Backend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString CupsPdfConf = QStringLiteral("/etc/cups/cups-pdf.conf");

QString program(const char *name)
{
    return QStandardPaths::findExecutable(
        QString::fromLatin1(name),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/sbin")});
}

// The folders cups-pdf writes into for this process's user: "Out" for a known user and
// "AnonDirName" for others, as its configuration sets them or by default.
QStringList outputFolders()
{
    QString out = QStringLiteral("${HOME}/PDF");
    QString anonymous = QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    QFile conf(CupsPdfConf);
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray &raw : conf.readAll().split('\n')) {
            const QStringList words =
                QString::fromLocal8Bit(raw).simplified().split(u' ', Qt::SkipEmptyParts);
            if (words.size() == 2 && words[0] == QLatin1String("Out"))
                out = words[1];
            else if (words.size() == 2 && words[0] == QLatin1String("AnonDirName"))
                anonymous = words[1];
        }
    }
    const passwd *user = getpwuid(geteuid());
    const QString home = user ? QFile::decodeName(user->pw_dir) : QDir::homePath();
    return {out.replace(QStringLiteral("${HOME}"), home), anonymous};
}

} // namespace

CupsServer::~CupsServer()
{
    stop();
}

QString CupsServer::missing()
{
    QStringList missing;
    for (const char *name : {"cupsd", "lpadmin", "lpstat"}) {
        if (program(name).isEmpty())
            missing << QString::fromLatin1(name);
    }
    for (const QString &file : {Backend, Ppd}) {
        if (!QFileInfo::exists(file))
            missing << file;
    }
    return missing.join(QStringLiteral(", "));
}

bool CupsServer::run(const QString &name, const QStringList &arguments, QByteArray *output)
{
    QProcess process;
    process.start(program(qPrintable(name)), arguments);
    const bool ran = process.waitForFinished(CommandLimitMs)
        && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = process.readAllStandardOutput();
    if (!ran) {
        process.kill();
        process.waitForFinished();
        m_error = QStringLiteral("%1 %2 failed: %3")
                      .arg(name, arguments.join(u' '),
                           QString::fromLocal8Bit(process.readAllStandardError()));
    }
    return ran;
}

bool CupsServer::start()
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder for cupsd");
        return false;
    }
    // Held until the fixture goes, however long; a lock left by a killed test is taken over.
    m_outputLock.setStaleLockTime(0);
    if (!m_outputLock.tryLock(5 * CommandLimitMs)) {
        m_error = QStringLiteral("another test keeps cups-pdf's folders: %1")
                      .arg(m_outputLock.fileName());
        return false;
    }
    // cupsd refuses to run its jobs as root; the user it runs them as must reach its folders.
    const passwd *lp = geteuid() == 0 ? getpwnam("lp") : getpwuid(geteuid());
    if (!lp) {
        m_error = QStringLiteral("no user \"lp\" for cupsd's jobs");
        return false;
    }
    const QString root = m_dir.path();
    QFile::setPermissions(root,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                              | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const char *folder : {"spool", "spool/tmp", "cache", "state", "log"}) {
        const QString path = m_dir.filePath(QString::fromLatin1(folder));
        if (!QDir().mkpath(path)
            || chown(QFile::encodeName(path).constData(), lp->pw_uid, lp->pw_gid) != 0) {
            m_error = QStringLiteral("cannot make %1 for cupsd").arg(path);
            return false;
        }
    }
    const QString socket = m_dir.filePath(QStringLiteral("cups.sock"));
    const QString places = QStringLiteral("ServerRoot %1\n"
                                          "RequestRoot %1/spool\n"
                                          "TempDir %1/spool/tmp\n"
                                          "CacheDir %1/cache\n"
                                          "StateDir %1/state\n"
                                          "ErrorLog %1/log/error_log\n"
                                          "AccessLog %1/log/access_log\n"
                                          "PageLog %1/log/page_log\n")
                               .arg(root);
    const QString files = places
        + QStringLiteral("User %1\nGroup %2\nSystemGroup root\nFileDevice No\n")
              .arg(QString::fromLocal8Bit(lp->pw_name))
              .arg(lp->pw_gid);
    const QString conf = QStringLiteral("Listen %1\n"
                                        "LogLevel info\n"
                                        "Browsing No\n"
                                        "WebInterface No\n"
                                        "DefaultAuthType None\n"
                                        "<Location />\n  Order allow,deny\n  Allow all\n"
                                        "</Location>\n"
                                        "<Policy default>\n  <Limit All>\n"
                                        "    Order allow,deny\n    Allow all\n"
                                        "  </Limit>\n</Policy>\n")
                             .arg(socket);
    for (const auto &[name, text] : {std::pair{QStringLiteral("cups-files.conf"), files},
                                     std::pair{QStringLiteral("cupsd.conf"), conf}}) {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) {
            m_error = QStringLiteral("cannot write %1").arg(file.fileName());
            return false;
        }
    }

    m_hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
    m_previousServer = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    m_startedAt = QDateTime::currentDateTimeUtc().addSecs(-1);
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    // The scheduler goes with the test, even when the test is killed.
    m_cupsd.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_cupsd.start(program("cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"), m_dir.filePath("cupsd.conf"),
                   QStringLiteral("-s"), m_dir.filePath("cups-files.conf")});
    if (!m_cupsd.waitForStarted()) {
        m_error = QStringLiteral("cupsd does not start: %1").arg(m_cupsd.errorString());
        return false;
    }
    // Ready once its socket answers.
    const QDeadlineTimer deadline(CommandLimitMs);
    bool ready = false;
    while (!ready && !deadline.hasExpired() && m_cupsd.state() == QProcess::Running) {
        ready = QFileInfo::exists(socket) && run(QStringLiteral("lpstat"), {QStringLiteral("-r")});
        if (!ready)
            QTest::qWait(20);
    }
    if (!ready) {
        m_error = QStringLiteral("cupsd did not come up: %1 %2")
                      .arg(QString::fromLocal8Bit(m_cupsd.readAll()), logTail());
        return false;
    }
    return run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), queue(), QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), Ppd});
}

void CupsServer::stop()
{
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(CommandLimitMs)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished();
        }
    }
    if (m_startedAt.isValid()) {
        if (m_hadServer)
            qputenv("CUPS_SERVER", m_previousServer);
        else
            qunsetenv("CUPS_SERVER");
        m_startedAt = QDateTime();
    }
}

bool CupsServer::jobCompleted(int job)
{
    QByteArray jobs;
    if (!run(QStringLiteral("lpstat"),
             {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"), queue()},
             &jobs))
        return false;
    const QString id = QStringLiteral("%1-%2").arg(queue()).arg(job);
    return QString::fromLocal8Bit(jobs)
               .split(u'\n')
               .filter(
                   QRegularExpression(QStringLiteral("^%1\\s").arg(QRegularExpression::escape(id))))
               .size()
        == 1;
}

QString CupsServer::newestOutput(const QString &namePart) const
{
    QFileInfo newest;
    for (const QString &folder : outputFolders()) {
        for (const QFileInfo &file :
             QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files)) {
            if (file.fileName().contains(namePart) && file.lastModified() >= m_startedAt
                && (!newest.exists() || file.lastModified() > newest.lastModified()))
                newest = file;
        }
    }
    return newest.exists() ? newest.absoluteFilePath() : QString();
}

QString CupsServer::waitForOutput(int job, const QString &namePart, int deadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    // cups-pdf has written the whole file when the job is completed.
    bool completed = false;
    while (!(completed = jobCompleted(job)) && !deadline.hasExpired())
        QTest::qWait(50);
    QString output;
    while (completed && (output = newestOutput(namePart)).isEmpty() && !deadline.hasExpired())
        QTest::qWait(50);
    if (output.isEmpty())
        m_error = QStringLiteral("job %1 %2 no PDF file holding \"%3\" in %4: %5")
                      .arg(QString::number(job),
                           completed ? QStringLiteral("completed with")
                                     : QStringLiteral("not completed,"),
                           namePart, outputFolders().join(QStringLiteral(", ")), logTail());
    return output;
}

QString CupsServer::logTail() const
{
    QFile log(m_dir.filePath(QStringLiteral("log/error_log")));
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray text = log.readAll();
    return QString::fromLocal8Bit(text.right(2000));
}
