#include "devicewatch.h"

#include "udevmonitor.h"

#include <QFileInfo>

DeviceWatch::DeviceWatch(std::function<QString()> path, QObject *parent)
    : QObject(parent),
      m_path(std::move(path)),
      m_udev(std::make_unique<UdevMonitor>())
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMsecs);
    connect(&m_settle, &QTimer::timeout, this, &DeviceWatch::settled);
    connect(&m_folders, &QFileSystemWatcher::directoryChanged, this, &DeviceWatch::cue);
    connect(m_udev.get(), &UdevMonitor::ttyChanged, this, &DeviceWatch::cue);
    restart();
}

DeviceWatch::~DeviceWatch() = default;

void DeviceWatch::restart()
{
    m_watchedPath = m_path();
    watchFolderOf(m_watchedPath);
    m_present = !m_watchedPath.isEmpty() && QFileInfo::exists(m_watchedPath);
}

void DeviceWatch::cue()
{
    m_settle.start();
}

void DeviceWatch::settled()
{
    const QString path = m_path();
    if (path != m_watchedPath) {
        restart();
    } else {
        watchFolderOf(path);
        // exists() follows links: a link whose device went away counts as absent.
        const bool present = !path.isEmpty() && QFileInfo::exists(path);
        if (present != m_present) {
            m_present = present;
            emit presenceChanged(present);
        }
    }
    emit devicesChanged();
}

void DeviceWatch::watchFolderOf(const QString &path)
{
    // The by-id folder goes with the last adapter and comes with the next one: the nearest
    // folder that exists is watched, and chosen anew at every look.
    QStringList folders;
    if (!path.isEmpty()) {
        QFileInfo folder(QFileInfo(path).absolutePath());
        while (!folder.isDir() && !folder.isRoot())
            folder.setFile(folder.absolutePath());
        if (folder.isDir())
            folders << folder.absoluteFilePath();
    }
    if (m_folders.directories() == folders)
        return;
    if (!m_folders.directories().isEmpty())
        m_folders.removePaths(m_folders.directories());
    if (!folders.isEmpty())
        m_folders.addPaths(folders);
}
