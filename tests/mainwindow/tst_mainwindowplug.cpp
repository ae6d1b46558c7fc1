// The main window follows its adapter: the configured port is a link to the virtual instrument's
// pseudo-terminal, removed (unplugged) and made again (plugged in).

#include "comsettings.h"
#include "instrumentwatch.h"
#include "portentry.h"
#include "testclock.h"
#include "windowsimrig.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

// The window notices a change of its adapter after a settle of 300 ms; the deadline leaves room for
// a busy machine, as the device watch's own test does.
constexpr int NoticeMsecs = 5000;
constexpr int ReadMsecs = 10000;

// The virtual instrument as COM1 behind a link in a folder of its own, the window on it, and a
// second instrument as COM2 that must hear nothing.
struct PluggedRig : WindowSimRig
{
    QTemporaryDir adapters;
    SimInstrument other;
    QString linkPath;

    bool startPlugged(const QStringList &simArguments = {},
                      const Clock &clock = SystemClock::instance())
    {
        if (!start(simArguments, clock)
            || !other.start({QStringLiteral("--framing"), QStringLiteral("plain")}, 2, IniFileName))
            return false;
        linkPath = adapters.filePath(QStringLiteral("veltra-adapter"));
        if (!plug() || !writePortEntry(IniFileName, 1, linkPath))
            return false;
        window->watchConfiguredPort();
        return true;
    }
    bool plug() { return QFile::link(port.sim.devicePath(), linkPath); }
    bool unplug() { return QFile::remove(linkPath); }
};

} // namespace

class tst_MainWindowPlug : public QObject
{
    Q_OBJECT

private slots:
    void unpluggedThenPluggedIn();
    void unpluggedWhileAPollWaits();
    void portListFollows();
};

void tst_MainWindowPlug::unpluggedThenPluggedIn()
{
    SKIP_WITHOUT_SIMULATOR();
    PluggedRig rig;
    QVERIFY(rig.startPlugged());
    frmVeltra &w = *rig.window;
    const QString serialNo = w.LabelSerialNo->text();
    QVERIFY(!serialNo.isEmpty());

    QVERIFY(rig.unplug());
    const QString unplugged =
        QStringLiteral("Adapter unplugged (com port 1, %1)").arg(rig.linkPath);
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(), unplugged, NoticeMsecs);
    QVERIFY(!w.link().Comm1.openState());
    QVERIFY(!w.Frame1->isEnabled());
    QVERIFY(!w.ComChange->isEnabled());

    // Plugged in again: read at once, with no click and no box.
    const qsizetype commandsBefore = rig.port.sim.commands().size();
    w.LabelSerialNo->clear();
    QVERIFY(rig.plug());
    QTRY_VERIFY_WITH_TIMEOUT(w.statusBar()->currentMessage().isEmpty(), NoticeMsecs);
    QTRY_COMPARE_WITH_TIMEOUT(w.LabelSerialNo->text(), serialNo, ReadMsecs);
    QVERIFY(rig.port.sim.commands().size() > commandsBefore);
    QVERIFY(w.link().Comm1.openState());
    QVERIFY(w.Frame1->isEnabled());
    QVERIFY(w.ComChange->isEnabled());
    QVERIFY(rig.ui.boxes.isEmpty());
    QCOMPARE(rig.other.received(), QList<QByteArray>());
}

// The adapter goes while a bench poll of the empty adapter waits on the instrument's thread: the
// window takes the port back only once the poll has ended, then closes it.
void tst_MainWindowPlug::unpluggedWhileAPollWaits()
{
    SKIP_WITHOUT_SIMULATOR();
    // At half speed a poll of the empty adapter waits for three prompts of 1.4 s each, much longer
    // than the device watch takes to notice.
    const TestClock clock(36000, 0.5);
    QTemporaryDir scriptFolder;
    const QString script = scriptFolder.filePath(QStringLiteral("bench.script"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("1.0 remove\n") > 0);
    file.close();
    PluggedRig rig;
    QVERIFY(rig.startPlugged({QStringLiteral("--script"), script}, clock));
    frmVeltra &w = *rig.window;
    const QString unplugged =
        QStringLiteral("Adapter unplugged (com port 1, %1)").arg(rig.linkPath);
    bool pollingWhenShown = true;
    QObject::connect(w.statusBar(), &QStatusBar::messageChanged, &w, [&](const QString &line) {
        if (line == unplugged)
            pollingWhenShown = w.instrumentWatch().polling();
    });
    w.mnuBenchMode->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(),
                              QStringLiteral("Place the next instrument"), 4 * ReadMsecs);
    QTRY_VERIFY_WITH_TIMEOUT(w.instrumentWatch().polling(), ReadMsecs);

    QVERIFY(rig.unplug());
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(), unplugged, 4 * ReadMsecs);
    QVERIFY(!pollingWhenShown);
    QVERIFY(!w.link().Comm1.openState());
    QVERIFY(rig.ui.boxes.isEmpty());
    QCOMPARE(rig.other.received(), QList<QByteArray>());
}

void tst_MainWindowPlug::portListFollows()
{
    SKIP_WITHOUT_SIMULATOR();
    PluggedRig rig;
    QVERIFY(rig.startPlugged());
    ComSettings dialog(rig.window->link(), rig.window.get());
    dialog.show();
    QTRY_COMPARE_WITH_TIMEOUT(dialog.Combo1->count(), 2, ReadMsecs);
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Combo1->isEnabled(), ReadMsecs);

    QVERIFY(rig.unplug());
    QTRY_COMPARE_WITH_TIMEOUT(dialog.Combo1->count(), 1, NoticeMsecs);
    QCOMPARE(dialog.Combo1->itemData(0).toInt(), 2);
    QVERIFY(rig.plug());
    QTRY_COMPARE_WITH_TIMEOUT(dialog.Combo1->count(), 2, NoticeMsecs);
}

QTEST_MAIN(tst_MainWindowPlug)
#include "tst_mainwindowplug.moc"
