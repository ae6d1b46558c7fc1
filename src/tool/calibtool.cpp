#include "calibtool.h"

#include "calibrationwrite.h"
#include "connector.h"
#include "labelcommands.h"
#include "labelsettings.h"
#include "link.h"
#include "passwordstore.h"
#include "portentry.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "recordcommands.h"
#include "recordhistory.h"
#include "recordsettings.h"
#include "terminal.h"
#include "toolsettings.h"
#include "tooltext.h"
#include "writegate.h"
#include "writerecorder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

QList<SystemPort> noSystemPorts()
{
    return {};
}

void progress(int portNo)
{
    constexpr int Width = 40;
    const int done = portNo * Width / PortMap::MaxPortNo;
    std::fprintf(stderr, "\rSearching COM%-3d [%s%s]", portNo, QByteArray(done, '#').constData(),
                 QByteArray(Width - done, '.').constData());
    std::fflush(stderr);
}

} // namespace

CalibTool::CalibTool(const ToolOptions &options) : m_options(options), m_settingsMap(&noSystemPorts)
{ }

CalibTool::~CalibTool() = default;

int CalibTool::run()
{
    if (m_options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("veltra.link.debug=true"));
    if (m_options.settings.isEmpty()) {
        setProgramPaths(QCoreApplication::applicationDirPath());
    } else {
        // The password file lives beside the settings file, as beside the program.
        const QFileInfo file(m_options.settings);
        PrgPath = file.absolutePath() + QLatin1Char('/');
        IniFileName = file.absoluteFilePath();
    }

    switch (m_options.command) {
    case ToolCommand::Version:
        print({toolVersionText()});
        return ExitDone;
    case ToolCommand::Ports:
        return ports();
    case ToolCommand::Identify:
        return identify(false);
    case ToolCommand::Read:
        return identify(true);
    case ToolCommand::Write:
        return write();
    case ToolCommand::History:
        return m_options.verify
            ? verifyRecord(RecordSettings::fromSettingsFile(IniFileName), m_options)
            : history();
    case ToolCommand::Due:
        return listDue(RecordSettings::fromSettingsFile(IniFileName), m_options);
    case ToolCommand::Watch:
        return watch();
    case ToolCommand::Release:
        return releaseEntry(RecordSettings::fromSettingsFile(IniFileName), m_options);
    case ToolCommand::Certificate:
        if (!m_options.checkFile.isEmpty())
            return checkCertificate(RecordSettings::fromSettingsFile(IniFileName), m_options);
        [[fallthrough]];
    case ToolCommand::Label:
        return makePage(RecordSettings::fromSettingsFile(IniFileName),
                        LabelSettings::fromSettingsFile(IniFileName), m_options);
    }
    return ExitUsage;
}

int CalibTool::ports()
{
    PortMap map;
    map.update(IniFileName);
    QJsonArray list;
    QStringList lines;
    for (int portNo = 1; portNo <= PortMap::MaxPortNo; ++portNo) {
        const QString device = map.devicePath(portNo);
        if (device.isEmpty())
            continue;
        const bool present = map.isPresent(portNo);
        list.append(QJsonObject{{QStringLiteral("port"), portNo},
                                {QStringLiteral("device"), device},
                                {QStringLiteral("description"), map.description(portNo)},
                                {QStringLiteral("present"), present}});
        lines << portName(portNo).leftJustified(7) + device.leftJustified(40) + QLatin1Char(' ')
                + (present ? ToolText::tr("present") : ToolText::tr("absent ")) + QLatin1Char(' ')
                + map.description(portNo);
    }
    if (m_options.json)
        std::printf("%s\n", QJsonDocument(list).toJson(QJsonDocument::Compact).constData());
    else
        print(lines);
    return ExitDone;
}

int CalibTool::connect()
{
    const ConnectionSettings settings = toolConnectionSettings(m_options);
    const qint16 portNo = settings.ComPortNo;
    QString iniPath = IniFileName;
    if (!m_options.device.isEmpty()) {
        // A device path stands in as port 1 of a map of its own, so it opens like any port.
        if (!m_deviceFolder.isValid())
            return fail(ExitPort, ToolText::tr("no temporary folder for the device's port map"));
        iniPath = m_deviceFolder.filePath(QStringLiteral("device.ini"));
        if (!writePortEntry(iniPath, portNo, m_options.device))
            return fail(ExitPort,
                        ToolText::tr("cannot note the device path %1").arg(m_options.device));
        m_comm = std::make_unique<QtSerialControl>(&noSystemPorts, iniPath);
    } else {
        // Asking the system for its ports costs more than the whole start; a port the map
        // already names needs no asking, a search does.
        m_settingsMap.reload(IniFileName);
        const bool known = !m_options.search && !m_settingsMap.devicePath(portNo).isEmpty();
        m_comm = std::make_unique<QtSerialControl>(known ? &noSystemPorts : &PortMap::systemPorts,
                                                   iniPath);
    }
    m_link = std::make_unique<Link>(*m_comm);
    // Nobody to ask: a reply garbled on the line fails its transfer, and says so.
    m_link->setParityDecision([this] {
        fail(ExitDone, ToolText::tr("parity error in the instrument's reply"));
        return ParityDecision::Fail;
    });
    m_core = std::make_unique<CalibrationCore>(*m_link);
    Link &l = *m_link;
    l.setSettings(settings);
    l.SetComSettings();

    m_place = {m_options.device.isEmpty() ? std::optional<int>(portNo) : std::nullopt,
               m_options.device.isEmpty() ? m_settingsMap.devicePath(portNo) : m_options.device};
    if (Connector(l).open(portNo, settings.BluetoothOn) == 0)
        return ExitDone;
    if (m_options.search && search())
        return ExitDone;
    const QString where = m_place.number ? portName(portNo) : m_options.device;
    QString reason = l.openFailure().text();
    if (reason.isEmpty()) {
        reason = !m_comm->isPresent(portNo)
            ? ToolText::tr("%1: no such device").arg(where)
            : ToolText::tr("%1: the port cannot be opened").arg(where);
    }
    return fail(ExitPort, reason.replace(u'\n', u' '));
}

bool CalibTool::search()
{
    Link &l = *m_link;
    Connector connector(l);
    const bool bar = !m_options.quiet && isTerminal(stderr);
    Connector::SearchHooks hooks;
    if (bar)
        hooks.progress = progress;
    const Connector::SearchResult result =
        connector.search(Connector::allPorts(), l.settings().BluetoothOn, hooks);
    if (bar)
        std::fputs("\n", stderr);
    if (!result.found)
        return false;
    connector.keepPort(*result.found);
    m_settingsMap.reload(IniFileName);
    m_place = {*result.found, m_settingsMap.devicePath(*result.found)};
    return true;
}

int CalibTool::readInstrument(ReadOut &readOut, bool withDates)
{
    if (const int exitCode = connect(); exitCode != ExitDone)
        return exitCode;
    Outcome outcome = m_core->identify();
    if (!outcome.done() && outcome.command == QLatin1String("V") && m_options.search
        && m_place.number.has_value() && search())
        outcome = m_core->identify();
    if (!outcome.done())
        return failed(outcome);
    DateWords words;
    if (withDates) {
        outcome = m_core->readDates(words);
        if (!outcome.done())
            return failed(outcome);
    }
    readOut = m_core->readOut(words);
    return ExitDone;
}

int CalibTool::identify(bool withDates)
{
    ReadOut readOut;
    if (const int exitCode = readInstrument(readOut, withDates); exitCode != ExitDone)
        return exitCode;
    if (m_options.json)
        printJson(readOutJson(m_place, readOut, withDates));
    else
        print(readOutLines(m_place, readOut, withDates));
    return ExitDone;
}

int CalibTool::checkPassword(WriteGate &gate, WriteGate::Step step)
{
    if (step != WriteGate::Step::AskPassword)
        return ExitDone;
    std::optional<QString> typed;
    if (m_options.passwordStdin)
        typed = readStdinLine();
    else if (isTerminal(stdin))
        typed = readHiddenLine(ToolText::tr("Password: "));
    else
        return fail(ExitRefused,
                    ToolText::tr("a password protects writing: type it on a terminal "
                                 "or give it with --password-stdin"));
    if (!typed || !gate.answer(*typed))
        return fail(ExitRefused, ToolText::tr("wrong password"));
    return ExitDone;
}

int CalibTool::write()
{
    if (m_options.each)
        return writeEach();
    // A password file that is there but cannot be read protects like a password.
    WriteGate gate;
    if (const int exitCode = refuseUnreadable(gate.check()); exitCode != ExitDone)
        return exitCode;
    ReadOut readOut;
    if (const int exitCode = readInstrument(readOut, true); exitCode != ExitDone)
        return exitCode;
    return writeInstrument(gate, readOut);
}

int CalibTool::refuseUnreadable(const WriteGate::Check &access) const
{
    if (access.step != WriteGate::Step::FileError)
        return ExitDone;
    QString text = access.file.text();
    return fail(ExitRefused, text.replace(u'\n', u' ').simplified());
}

int CalibTool::writeInstrument(WriteGate &gate, const ReadOut &readOut)
{
    const bool keepsExpiration = readOut.dateWords.keepsExpiration();
    if (keepsExpiration && !m_options.expiration && !m_options.noExpiration)
        return fail(ExitUsage,
                    ToolText::tr("this %1 keeps an expiration date: give EXPIRES or "
                                 "--no-expiration")
                        .arg(readOut.deviceName));
    std::optional<QDate> expiration = m_options.expiration;
    if (!keepsExpiration && expiration) {
        if (!m_options.each)
            return fail(ExitUsage,
                        ToolText::tr("this %1 keeps no expiration date: give CALIB only")
                            .arg(readOut.deviceName));
        // A bench of mixed models: an instrument with one date takes the calibration date alone.
        expiration.reset();
    }

    // As in the window, the instrument has been read when the password is asked: a refusal is
    // kept in the record with the instrument it was meant for.
    RecordSettings recordSettings = RecordSettings::fromSettingsFile(IniFileName);
    if (!m_options.reference.isEmpty())
        recordSettings.reference = m_options.reference;
    const DateRequest asked{m_options.calibration, expiration};
    WriteRecorder recorder(*m_core, RecordSource::Tool, recordSettings);
    recorder.setPlace(m_place.number, m_place.device);
    const WriteGate::Check access = gate.check();
    if (const int exitCode = refuseUnreadable(access); exitCode != ExitDone)
        return exitCode;
    if (const int exitCode = checkPassword(gate, access.step); exitCode != ExitDone) {
        if (!recorder.refusePassword(asked))
            fail(exitCode, recorder.errorText());
        return exitCode;
    }

    CalibrationWrite write(*m_core, asked, &recorder);
    const Outcome outcome = write.run(readOut.serialNo);
    if (write.report().written)
        ++m_tally.written;
    if (outcome.kind == Outcome::Kind::NotRecorded)
        return fail(ExitRefused,
                    recorder.errorText() + ToolText::tr(" Nothing was written to the instrument."));
    if (!outcome.done())
        return failed(outcome);
    const WriteReport &report = write.report();
    if (m_options.json) {
        QJsonObject object = readOutJson(m_place, readOut, true);
        addWriteJson(object, report, keepsExpiration);
        addCertificateJson(object, recorder.certificate());
        printJson(object);
    } else {
        print(readOutLines(m_place, readOut, true) + writeLines(report, keepsExpiration)
              + certificateLines(recorder.certificate()));
    }
    if (!recorder.errorText().isEmpty())
        fail(ExitDone,
             ToolText::tr("the outcome could not be kept in the calibration record: ")
                 + recorder.errorText());
    if (!report.verified.value_or(false))
        return fail(ExitNotHeld,
                    ToolText::tr("written, but the instrument does not hold the dates"));
    ++m_tally.verified;
    return ExitDone;
}

int CalibTool::history()
{
    CalibRecord record(RecordSettings::fromSettingsFile(IniFileName));
    const HistoryFilter filter{m_options.serial, false, std::nullopt};
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return fail(ExitUsage, ToolText::tr("standard output cannot be written"));
    bool done = false;
    if (m_options.csv) {
        done = writeCsv(record, filter, out);
    } else if (m_options.json) {
        done = writeJson(record, filter, out) && out.write("\n") == 1;
    } else {
        const auto date = [](const QDate &d) {
            return d.isValid() ? d.toString(Qt::ISODate) : QStringLiteral("-");
        };
        done = forEachEntry(record, filter, [&](const RecordEntry &e) {
            const QString line =
                QStringLiteral("%1  %2  %3  %4/%5 -> %6/%7 -> %8/%9  %10  %11@%12\n")
                    .arg(e.startedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                         e.serial, e.model, date(e.calibrationBefore), date(e.expirationBefore),
                         date(e.calibrationAsked), date(e.expirationAsked),
                         date(e.calibrationReadBack), date(e.expirationReadBack))
                    .arg(outcomeText(e.outcome), e.account, e.host);
            return !m_options.quiet ? out.write(line.toUtf8()) >= 0 : true;
        });
    }
    out.close();
    if (!done)
        return fail(ExitUsage,
                    record.errorText().isEmpty() ? out.errorString() : record.errorText());
    return ExitDone;
}

void CalibTool::print(const QStringList &lines) const
{
    if (m_options.quiet || lines.isEmpty())
        return;
    std::printf("%s\n", qPrintable(lines.join(QLatin1Char('\n'))));
    // At once: a watch's reader acts on each line as it comes.
    std::fflush(stdout);
}

void CalibTool::printJson(const QJsonObject &object) const
{
    std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

int CalibTool::fail(int exitCode, const QString &text) const
{
    std::fflush(stdout);
    std::fprintf(stderr, "veltra-calib: %s\n", qPrintable(text));
    return exitCode;
}

int CalibTool::failed(const Outcome &outcome) const
{
    switch (outcome.kind) {
    case Outcome::Kind::FirmwareTooOld:
        return fail(ExitRefused, FirmwareTooOldText);
    case Outcome::Kind::InstrumentChanged:
        return fail(ExitRefused, instrumentChangedText(outcome));
    case Outcome::Kind::NotRecorded:
        return fail(ExitRefused, ToolText::tr("the calibration record cannot keep this write"));
    case Outcome::Kind::Declined:
    case Outcome::Kind::Done:
        return ExitDone;
    case Outcome::Kind::CommandFailed:
        break;
    }
    if (outcome.command == QLatin1String("V"))
        return fail(ExitInstrument,
                    ToolText::tr("no instrument answered on %1").arg(m_place.device));
    return fail(
        ExitInstrument,
        ToolText::tr("the instrument did not accept the command \"%1\"").arg(outcome.command));
}
