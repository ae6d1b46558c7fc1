#pragma once
// Test fixture: a CUPS scheduler of the test's own, with one queue on the cups-pdf back end, so a
// label goes through the real print path and comes out as a PDF file. cupsd runs in the
// foreground on a configuration in a temporary folder and listens only on a socket there;
// CUPS_SERVER points this process and its children at it, so a system scheduler is neither used
// nor disturbed. cups-pdf keeps its own configuration (/etc/cups/cups-pdf.conf, only read here)
// and writes into the job owner's folder, named after the job; one fixture at a time on the
// machine uses it, so that tests running side by side do not take each other's files. The
// scheduler stops when the fixture goes away, also after a failed test.

#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class CupsServer
{
public:
    CupsServer() = default;
    ~CupsServer();
    CupsServer(const CupsServer &) = delete;
    CupsServer &operator=(const CupsServer &) = delete;

    // What is not installed of cupsd, its client programs and cups-pdf; empty when all is.
    static QString missing();

    // Starts the scheduler and adds the queue; false with errorText() on failure.
    bool start();
    void stop();

    static QString queue() { return QStringLiteral("VeltraLabels"); }
    QString errorText() const { return m_error; }

    // The PDF file cups-pdf wrote for the job, whose file name holds namePart; waits until the
    // job is completed and the file is there, at most deadlineMs. Empty, with errorText(), when
    // it did not come.
    QString waitForOutput(int job, const QString &namePart, int deadlineMs);

private:
    bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr);
    bool jobCompleted(int job);
    QString newestOutput(const QString &namePart) const;
    QString logTail() const;

    QLockFile m_outputLock{QDir::temp().filePath(QStringLiteral("veltra-cups-pdf.lock"))};
    QTemporaryDir m_dir{QStringLiteral("/tmp/veltra-cups-XXXXXX")};
    QProcess m_cupsd;
    QDateTime m_startedAt;
    QByteArray m_previousServer;
    bool m_hadServer = false;
    QString m_error;
};
