// veltra-calib watch and write --each: instruments placed on the adapter one after another, until
// SIGINT or SIGTERM.

#include "calibtool.h"

#include "benchsettings.h"
#include "connector.h"
#include "devicewatch.h"
#include "exitrequest.h"
#include "exitsignals.h"
#include "instrumentwatch.h"
#include "link.h"
#include "qtserialcontrol.h"
#include "tooltext.h"

#include <QEventLoop>
#include <QHash>
#include <QJsonObject>
#include <QTime>

int CalibTool::bench(bool printEvents, const std::function<bool(const ReadOut &)> &placed)
{
    if (const int exitCode = connect(); exitCode != ExitDone)
        return exitCode;
    Link &l = *m_link;
    const ConnectionSettings settings = l.settings();
    const auto event = [this, printEvents](const QString &name, const ReadOut *readOut) {
        if (!printEvents)
            return;
        if (m_options.json) {
            QJsonObject object = readOut ? readOutJson(m_place, *readOut, true) : QJsonObject();
            object.insert(QStringLiteral("event"), name);
            printJson(object);
            return;
        }
        // One line per event: what read prints, its lines one after the other.
        QStringList fields;
        if (readOut) {
            for (const QString &line : readOutLines(m_place, *readOut, true))
                fields << line.simplified();
        }
        print({fields.isEmpty() ? name : name + u' ' + fields.join(QStringLiteral("; "))});
    };

    QEventLoop loop;
    const ExitSignals exitSignals;
    DeviceWatch adapter([this, portNo = settings.ComPortNo] { return m_comm->devicePath(portNo); });
    InstrumentWatch watch(l, adapter);
    // The window's poll interval unless the command line gives one.
    watch.setPollSeconds(m_options.pollSeconds.value_or(readBenchSettings().pollSeconds));
    const auto end = [&] {
        watch.stop();
        loop.quit();
    };
    QObject::connect(&exitSignals, &ExitSignals::received, &loop, end);
    QObject::connect(&watch, &InstrumentWatch::unplugged, &loop, [&] {
        l.closeComPort();
        event(QStringLiteral("unplugged"), nullptr);
    });
    QObject::connect(&watch, &InstrumentWatch::plugged, &loop, [&] {
        event(QStringLiteral("plugged"), nullptr);
        if (Connector(l).open(settings.ComPortNo, settings.BluetoothOn) != 0)
            fail(ExitDone, l.openFailure().text().replace(u'\n', u' '));
    });
    QObject::connect(&watch, &InstrumentWatch::removed, &loop,
                     [&] { event(QStringLiteral("removed"), nullptr); });
    QObject::connect(&watch, &InstrumentWatch::placed, &loop, [&] {
        Outcome outcome = m_core->identify();
        DateWords words;
        if (outcome.done())
            outcome = m_core->readDates(words);
        // Asked to end while reading: what the read saw is no news.
        if (exitRequested())
            return;
        if (!outcome.done()) {
            // Most often taken off again at once: read anew at the next answer.
            failed(outcome);
            watch.forget();
            return;
        }
        const ReadOut readOut = m_core->readOut(words);
        event(QStringLiteral("placed"), &readOut);
        if (!placed(readOut))
            end();
    });
    watch.start();
    loop.exec();
    return ExitDone;
}

int CalibTool::watch()
{
    return bench(true, [](const ReadOut &) { return true; });
}

int CalibTool::writeEach()
{
    WriteGate gate;
    if (const int exitCode = refuseUnreadable(gate.check()); exitCode != ExitDone)
        return exitCode;
    QHash<QString, QTime> writtenAt;
    int refused = ExitDone;
    const int exitCode = bench(false, [&](const ReadOut &readOut) {
        if (const auto at = writtenAt.constFind(readOut.serialNo); at != writtenAt.cend()) {
            fail(ExitDone,
                 ToolText::tr("serial %1 was written at %2 in this run")
                     .arg(readOut.serialNo, at->toString(QStringLiteral("HH:mm"))));
            return true;
        }
        const int result = writeInstrument(gate, readOut);
        writtenAt.insert(readOut.serialNo, QTime::currentTime());
        if (result == ExitDone)
            return true;
        ++m_tally.failed;
        // No password, or a wrong one: the run ends, as the password is asked once.
        if (result == ExitRefused && !gate.passed()) {
            refused = result;
            return false;
        }
        return true;
    });
    if (exitCode != ExitDone)
        return exitCode;
    if (m_options.json)
        printJson({{QStringLiteral("written"), m_tally.written},
                   {QStringLiteral("verified"), m_tally.verified},
                   {QStringLiteral("failed"), m_tally.failed}});
    else
        print({ToolText::tr("%1 written, %2 verified, %3 failed")
                   .arg(m_tally.written)
                   .arg(m_tally.verified)
                   .arg(m_tally.failed)});
    if (refused != ExitDone)
        return refused;
    return m_tally.failed > 0 ? ExitNotHeld : ExitDone;
}
