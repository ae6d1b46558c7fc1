// The device watch: a path that is a link to a device, removed and made again, with or without
// the folder that holds it.

#include "devicewatch.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Generous: the watch settles for a moment after each change, and the machine may be busy.
constexpr int NoticeMsecs = 5000;

} // namespace

class tst_DeviceWatch : public QObject
{
    Q_OBJECT

private slots:
    void followsThePath_data();
    void followsThePath();
    void aDanglingLinkIsAbsent();
};

void tst_DeviceWatch::followsThePath_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::newRow("a link in a folder that stays") << QString();
    QTest::newRow("a link whose folder goes and comes with it") << QStringLiteral("by-id");
}

void tst_DeviceWatch::followsThePath()
{
    QFETCH(QString, subfolder);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("device"));
    QVERIFY(writeFileBytes(device, {}));
    const QString folder = subfolder.isEmpty() ? dir.path() : dir.filePath(subfolder);
    const QString link = folder + QStringLiteral("/adapter");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::link(device, link));

    DeviceWatch watch([link] { return link; });
    QSignalSpy presence(&watch, &DeviceWatch::presenceChanged);
    QVERIFY(watch.present());

    for (int round = 0; round < 2; ++round) {
        if (subfolder.isEmpty())
            QVERIFY(QFile::remove(link));
        else
            QVERIFY(QDir(folder).removeRecursively());
        QTRY_COMPARE_WITH_TIMEOUT(presence.size(), 2 * round + 1, NoticeMsecs);
        QCOMPARE(presence.last().first().toBool(), false);
        QVERIFY(!watch.present());

        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(device, link));
        QTRY_COMPARE_WITH_TIMEOUT(presence.size(), 2 * round + 2, NoticeMsecs);
        QCOMPARE(presence.last().first().toBool(), true);
        QVERIFY(watch.present());
    }
}

void tst_DeviceWatch::aDanglingLinkIsAbsent()
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("device"));
    QVERIFY(writeFileBytes(device, {}));
    const QString link = dir.filePath(QStringLiteral("adapter"));
    QVERIFY(QFile::link(device, link));
    DeviceWatch watch([link] { return link; });
    QSignalSpy presence(&watch, &DeviceWatch::presenceChanged);

    // The device goes, its link stays.
    QVERIFY(QFile::remove(device));
    QTRY_COMPARE_WITH_TIMEOUT(presence.size(), 1, NoticeMsecs);
    QVERIFY(!watch.present());
}

QTEST_MAIN(tst_DeviceWatch)
#include "tst_devicewatch.moc"
