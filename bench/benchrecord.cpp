// Calibration record benchmark. First table: storing an entry before a write (add) and
// completing it afterwards with its link in the chain (complete), each its own transaction,
// median of many entries, on a SQLite file and on a local PostgreSQL server started for the run
// (socket only, default durability). Target: under 5 ms each on SQLite. Second table: opening
// the history window on a record of 100,000 entries until its first rows show, median of
// several openings. Target: under 300 ms. Third table, on the same record: what falls due
// (target 0.3 s) and walking the whole chain (target 2 s), median of several runs.

#include "benchsetup.h"
#include "historymodel.h"
#include "historywindow.h"
#include "measure.h"
#include "pgserver.h"
#include "recordbackends.h"
#include "recordchain.h"
#include "recorddue.h"
#include "recordfill.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Entries = 200;
constexpr int Openings = 7;
constexpr int HistoryEntries = 100000;
constexpr int Walks = 3;

struct Backend
{
    const char *name;
    RecordSettings settings;
};

double msSince(const QElapsedTimer &clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

bool entryRow(const Backend &backend)
{
    CalibRecord record(backend.settings);
    QList<double> adds;
    QList<double> completes;
    for (int i = 0; i < Entries; ++i) {
        RecordEntry entry = RecordEntry::startedNow(RecordSource::Window);
        entry.serial = QStringLiteral("104233");
        entry.calibrationAsked = QDate(2026, 12, 1);
        QElapsedTimer clock;
        clock.start();
        if (!record.add(entry)) {
            std::fprintf(stderr, "bench-record: %s\n", qPrintable(record.errorText()));
            return false;
        }
        // The first add opens the record and makes its table: not what a write waits for.
        if (i > 0)
            adds << msSince(clock);
        entry.outcome = RecordOutcome::Verified;
        entry.finishedAt = QDateTime::currentDateTimeUtc();
        entry.calibrationReadBack = entry.calibrationAsked;
        clock.start();
        if (!record.complete(entry)) {
            std::fprintf(stderr, "bench-record: %s\n", qPrintable(record.errorText()));
            return false;
        }
        completes << msSince(clock);
    }
    std::printf("%-12s %8d %12.2f %14.2f %10s\n", backend.name, Entries - 1, median(adds),
                median(completes), backend.settings.isPostgres() ? "-" : "5");
    return true;
}

bool historyRow(const Backend &backend)
{
    {
        CalibRecord record(backend.settings);
        if (!fillRecord(record, HistoryEntries)) {
            std::fprintf(stderr, "bench-record: filling the record failed: %s\n",
                         qPrintable(record.errorText()));
            return false;
        }
    }
    QList<double> openings;
    int shownRows = 0;
    for (int i = 0; i < Openings; ++i) {
        QElapsedTimer clock;
        clock.start();
        HistoryWindow window(backend.settings);
        window.show();
        QCoreApplication::processEvents();
        shownRows = window.TableRecord->model()->rowCount();
        window.TableRecord->viewport()->repaint();
        openings << msSince(clock);
        if (shownRows == 0) {
            std::fprintf(stderr, "bench-record: the history showed no rows\n");
            return false;
        }
    }
    std::printf("%-12s %10d %10d %12.1f %10d\n", backend.name, HistoryEntries, shownRows,
                median(openings), 300);
    return true;
}

// What falls due and the chain's verdict on the record historyRow() filled.
bool walkRow(const Backend &backend)
{
    CalibRecord record(backend.settings);
    QList<double> dues;
    QList<double> verifies;
    qsizetype dueCount = 0;
    ChainVerdict verdict;
    for (int i = 0; i < Walks; ++i) {
        QElapsedTimer clock;
        clock.start();
        QList<DueEntry> due;
        if (!dueEntries(record, QDate::currentDate(), 30, due)) {
            std::fprintf(stderr, "bench-record: %s\n", qPrintable(record.errorText()));
            return false;
        }
        dues << msSince(clock) / 1000;
        dueCount = due.size();
        clock.start();
        verdict = verifyChain(record);
        verifies << msSince(clock) / 1000;
        if (verdict.kind != ChainVerdict::Kind::Intact) {
            std::fprintf(stderr, "bench-record: %s\n", qPrintable(verdict.text()));
            return false;
        }
    }
    std::printf("%-12s %10lld %8lld %8.3f %8.1f %14lld %10.3f %8.1f\n", backend.name,
                static_cast<long long>(HistoryEntries), static_cast<long long>(dueCount),
                median(dues), 0.3, static_cast<long long>(verdict.entries), median(verifies), 2.0);
    return true;
}

// veltra-calib on the settings file ini; false, said on stderr, when it does not end with 0.
bool runTool(const QString &ini, const QStringList &arguments)
{
    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra-calib"),
               QStringList{QStringLiteral("--settings"), ini} + arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0) {
        std::fprintf(stderr, "bench-record: veltra-calib %s failed: %s\n",
                     qPrintable(arguments.join(u' ')), tool.readAllStandardError().constData());
        return false;
    }
    return true;
}

// certificate --check on the record historyRow() filled, for the newest verified entry.
bool checkRow(const Backend &backend, const QString &folder)
{
    const QString ini = folder + QStringLiteral("/bench-%1.ini").arg(QLatin1String(backend.name));
    const RecordSettings &r = backend.settings;
    QFile settings(ini);
    if (!settings.open(QIODevice::WriteOnly)
        || settings.write(r.isPostgres() ? QStringLiteral("[Record]\nDriver=QPSQL\nHost=%1\nPort="
                                                          "%2\nDatabase=%3\nUser=%4\n")
                                               .arg(r.host)
                                               .arg(r.port)
                                               .arg(r.database, r.user)
                                               .toUtf8()
                                         : QByteArray())
            < 0)
        return false;
    settings.close();
    qint64 newest = 0;
    {
        CalibRecord record(r);
        if (!record.open())
            return false;
        QSqlQuery query(record.database());
        if (!query.exec(QStringLiteral("SELECT MAX(id) FROM calibration_record "
                                       "WHERE outcome = 'verified'"))
            || !query.next())
            return false;
        newest = query.value(0).toLongLong();
    }
    const QString pdf = folder + QStringLiteral("/bench-%1.pdf").arg(QLatin1String(backend.name));
    if (!runTool(
            ini,
            {QStringLiteral("certificate"), QString::number(newest), QStringLiteral("-o"), pdf}))
        return false;
    QList<double> checks;
    for (int i = 0; i < Walks; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!runTool(ini, {QStringLiteral("certificate"), QStringLiteral("--check"), pdf}))
            return false;
        checks << msSince(clock) / 1000;
    }
    std::printf("%-12s %10lld %10.3f %8.1f\n", backend.name, static_cast<long long>(newest),
                median(checks), 2.0);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);

    QTemporaryDir folder;
    QList<Backend> backends;
    RecordSettings sqlite;
    sqlite.sqliteFile = folder.filePath(RecordFileName);
    backends.append({"SQLite", sqlite});
    PgServer server;
    if (server.start()) {
        backends.append({"PostgreSQL", recordSettingsFor(Postgres, server, QString())});
    } else {
        std::fprintf(stderr, "bench-record: no PostgreSQL row: %s\n",
                     qPrintable(server.errorText()));
    }

    std::printf("Storing an entry (add) and completing it (complete), median ms\n\n");
    std::printf("%-12s %8s %12s %14s %10s\n", "record", "entries", "add ms", "complete ms",
                "target ms");
    for (const Backend &backend : backends) {
        if (!entryRow(backend))
            return 1;
    }
    std::printf("\nOpening the history window until its first rows show, median of %d, ms\n\n",
                Openings);
    std::printf("%-12s %10s %10s %12s %10s\n", "record", "entries", "rows shown", "open ms",
                "target ms");
    for (const Backend &backend : backends) {
        if (!historyRow(backend))
            return 1;
    }
    std::printf("\nWhat falls due within 30 days (due) and walking the chain (verify), median of "
                "%d, s\n\n",
                Walks);
    std::printf("%-12s %10s %8s %8s %8s %14s %10s %8s\n", "record", "entries", "due", "due s",
                "target", "chain entries", "verify s", "target");
    for (const Backend &backend : backends) {
        if (!walkRow(backend))
            return 1;
    }
    std::printf(
        "\nveltra-calib certificate --check as a process, newest entry, median of %d, s\n\n",
        Walks);
    std::printf("%-12s %10s %10s %8s\n", "record", "entry", "check s", "target");
    for (const Backend &backend : backends) {
        if (!checkRow(backend, folder.path()))
            return 1;
    }
    return 0;
}
