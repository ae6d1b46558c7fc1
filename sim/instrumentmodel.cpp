#include "instrumentmodel.h"

#include "savefile.h"

#include <QFile>
#include <QRegularExpression>
#include <cstdio>

namespace {

SimReply payload(const QByteArray &text)
{
    return {SimReply::Kind::Payload, text};
}

const QRegularExpression &datesPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{6})(?: (\\d{6}))?$"));
    return pattern;
}

} // namespace

InstrumentModel::InstrumentModel(const SimOptions &options)
    : m_options(options),
      m_serial(options.serial),
      m_dates(options.dates),
      m_ignoreWrites(options.ignoreWrites)
{
    loadState();
}

SimReply InstrumentModel::respond(const QByteArray &command)
{
    if (m_options.rejected.contains(QString::fromLatin1(command)))
        return {};
    if (command == "V")
        return payload(m_options.ident);
    if (command == "Vx")
        return payload(m_options.identEx);
    if (command == "#R") {
        const bool swapped = m_options.swapAfter >= 0 && m_serialAnswers >= m_options.swapAfter;
        ++m_serialAnswers;
        return payload(swapped ? m_options.swapSerial : m_serial);
    }
    if (command == "Ux")
        return payload(m_options.battery);
    if (command == "t")
        return payload(m_options.status);
    if (command == "WR")
        return payload(m_dates);
    if (command.startsWith("WW"))
        return writeDates(command.mid(2));
    if (command == "EW1" && m_writeDone) {
        m_writeDone = false;
        return {SimReply::Kind::Ack, {}};
    }
    return {};
}

void InstrumentModel::place(const QByteArray &serial, const QByteArray &dates, bool ignoreWrites)
{
    m_present = true;
    m_ignoreWrites = ignoreWrites || m_options.ignoreWrites;
    m_serial = serial.isEmpty() ? m_options.serial : serial;
    m_dates = dates.isEmpty() ? m_options.dates : dates;
    m_writeDone = false;
}

// "WW" takes the calibration date and, optionally, a space and the expiration date. A model
// without an expiration date ignores a second date; a model with one keeps its old expiration
// date when only the calibration date comes.
SimReply InstrumentModel::writeDates(const QByteArray &arguments)
{
    const QRegularExpressionMatch match = datesPattern().match(QString::fromLatin1(arguments));
    if (!match.hasMatch())
        return {};
    m_writeDone = true;
    if (m_ignoreWrites)
        return {SimReply::Kind::Ack, {}};
    const QByteArray calibration = match.captured(1).toLatin1();
    const QByteArray expiration = match.captured(2).toLatin1();
    const qsizetype space = m_dates.indexOf(' ');
    if (space < 0)
        m_dates = calibration;
    else
        m_dates = calibration + ' ' + (expiration.isEmpty() ? m_dates.mid(space + 1) : expiration);
    saveState();
    return {SimReply::Kind::Ack, {}};
}

void InstrumentModel::loadState()
{
    if (m_options.stateFile.isEmpty())
        return;
    QFile file(m_options.stateFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray stored = file.read(64).trimmed();
    if (datesPattern().match(QString::fromLatin1(stored)).hasMatch())
        m_dates = stored;
    else
        std::fprintf(stderr, "veltra-sim: ignoring unreadable state file %s\n",
                     qPrintable(m_options.stateFile));
}

void InstrumentModel::saveState() const
{
    if (m_options.stateFile.isEmpty())
        return;
    const QString reason = saveFileAtomically(m_options.stateFile, m_dates + '\n');
    if (!reason.isEmpty())
        std::fprintf(stderr, "veltra-sim: cannot write state file %s: %s\n",
                     qPrintable(m_options.stateFile), qPrintable(reason));
}
