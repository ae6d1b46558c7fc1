// Bench mode: instruments placed on the adapter one after another are read as they come.

#include "frmveltra.h"

#include "benchsettings.h"
#include "devicewatch.h"
#include "instrumentwatch.h"
#include "programpaths.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace {

// How often a click that came during a poll looks whether the poll has ended.
constexpr int PollEndCheckMsecs = 20;

} // namespace

void frmVeltra::watchInstruments()
{
    m_instrumentWatch = new InstrumentWatch(m_link, *m_adapterWatch, this);
    m_instrumentWatch->setIdleCheck([this] { return benchIdle(); });
    m_instrumentWatch->setOwner(&m_owner);
    connect(m_instrumentWatch, &InstrumentWatch::placed, this, &frmVeltra::instrumentPlaced);
    connect(m_instrumentWatch, &InstrumentWatch::removed, this, &frmVeltra::instrumentRemoved);
    m_pollEndCheck = new QTimer(this);
    m_pollEndCheck->setSingleShot(true);
    m_pollEndCheck->setInterval(PollEndCheckMsecs);
    connect(m_pollEndCheck, &QTimer::timeout, this, [this] {
        if (const auto handler = std::exchange(m_clickAfterPoll, nullptr))
            afterPoll(handler);
    });
}

void frmVeltra::applyBenchSettings(const BenchSettings &settings)
{
    m_instrumentWatch->setPollSeconds(settings.pollSeconds);
    mnuBenchMode->setChecked(settings.enabled);
    setBenchMode(settings.enabled);
}

void frmVeltra::mnuBenchMode_Click(bool checked)
{
    // A file that cannot be written keeps the mode for this run only, and the line says so.
    const bool stored = writeBenchEnabled(checked);
    setBenchMode(checked);
    if (!stored)
        statusBar()->showMessage(
            tr("The settings file %1 cannot be written: the bench mode holds for this run only.")
                .arg(QDir::toNativeSeparators(IniFileName)));
}

void frmVeltra::setBenchMode(bool on)
{
    if (on) {
        m_instrumentWatch->start();
        return;
    }
    m_instrumentWatch->stop();
    // The bench's lines go with it; an unplugged adapter's stays.
    if (!m_adapterAbsent)
        statusBar()->clearMessage();
}

bool frmVeltra::benchIdle() const
{
    // No operation runs, no box or dialog waits for the user, and no click waits for a poll to end
    // (polls of an empty adapter follow one another).
    return m_lockDepth == 0 && QApplication::activeModalWidget() == nullptr
        && m_clickAfterPoll == nullptr;
}

void frmVeltra::afterPoll(void (frmVeltra::*handler)())
{
    if (m_instrumentWatch->polling() || m_lockDepth > 0) {
        m_clickAfterPoll = handler;
        m_pollEndCheck->start();
        return;
    }
    (this->*handler)();
}

void frmVeltra::instrumentPlaced(const QString &serialNo)
{
    // The first answer after the mode went on or the adapter came back may be the instrument the
    // read-out already shows.
    if (!m_noInstrument && LabelSerialNo->text() == serialNo)
        return;
    ComRead_Click();
    if (LabelSerialNo->text() != serialNo) {
        // The read failed or found another instrument: the next answer counts as placed again.
        m_instrumentWatch->forget();
        return;
    }
    presetDatePickers();
    const auto written = m_written.constFind(serialNo);
    if (written == m_written.cend())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(tr("Serial %1 was written at %2 in this run")
                                     .arg(serialNo, written->toString(QStringLiteral("HH:mm"))));
}

void frmVeltra::instrumentRemoved()
{
    clearReadOut();
    statusBar()->showMessage(tr("Place the next instrument"));
}

void frmVeltra::noteVerifiedWrite(const QString &serialNo)
{
    m_written.insert(serialNo,
                     QTime::fromMSecsSinceStartOfDay(int(m_clock.secondsSinceMidnight() * 1000)));
    if (m_instrumentWatch->running())
        statusBar()->showMessage(
            tr("Done: serial %1, verified. Take it off and place the next instrument")
                .arg(serialNo));
}
