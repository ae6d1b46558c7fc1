#pragma once
// Notices serial devices coming and going: a udev monitor of the "tty" subsystem, and a watch of
// the folder that holds the watched path (or its nearest existing parent), since a link made by hand (or a by-id link, which comes
// a moment after the tty's own event) sends no event of its own. An event is only a cue: after a
// short settle delay the path's existence decides.
//
// Contract:
// - presenceChanged(present) when the watched path has appeared or gone since the last look.
// - devicesChanged() after every settled cue, for lists of ports to look again.
// - Without udev (a container, no netlink) the folder watch alone works.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class UdevMonitor;

class DeviceWatch : public QObject
{
    Q_OBJECT
public:
    // The time events are given to settle before the path is looked at.
    static constexpr int SettleMsecs = 300;

    // path: asked at each look, so a port chosen anew is followed (empty: no path watched).
    explicit DeviceWatch(std::function<QString()> path, QObject *parent = nullptr);
    ~DeviceWatch() override;

    bool present() const { return m_present; }
    // Takes the path afresh and its presence as the known state, without a signal.
    void restart();

signals:
    void presenceChanged(bool present);
    void devicesChanged();

private:
    void cue();
    void settled();
    void watchFolderOf(const QString &path);

    std::function<QString()> m_path;
    QString m_watchedPath;
    bool m_present = false;
    QFileSystemWatcher m_folders;
    QTimer m_settle;
    std::unique_ptr<UdevMonitor> m_udev;
};
