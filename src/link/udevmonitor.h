#pragma once
// The udev monitor of the "tty" subsystem, its socket on the event loop.

#include <QObject>

struct udev;
struct udev_monitor;
class QSocketNotifier;

class UdevMonitor : public QObject
{
    Q_OBJECT
public:
    explicit UdevMonitor(QObject *parent = nullptr);
    ~UdevMonitor() override;
    UdevMonitor(const UdevMonitor &) = delete;
    UdevMonitor &operator=(const UdevMonitor &) = delete;

    // False where udev gives no monitor (no netlink in a container).
    bool active() const { return m_notifier != nullptr; }

signals:
    // A tty device was added, removed or changed.
    void ttyChanged();

private:
    void drain();

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};
