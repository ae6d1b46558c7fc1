#include "ptydevice.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyDevice::PtyDevice(QObject *parent) : QObject(parent)
{ }

PtyDevice::~PtyDevice()
{
    hangUp();
}

bool PtyDevice::open(QString &error)
{
    const auto fail = [&](const char *step) {
        error = QStringLiteral("%1: %2").arg(QLatin1String(step),
                                             QString::fromLocal8Bit(std::strerror(errno)));
        hangUp();
        return false;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::fcntl(m_master, F_SETFL, O_NONBLOCK) < 0 || ::fcntl(m_master, F_SETFD, FD_CLOEXEC) < 0)
        return fail("fcntl");
    if (grantpt(m_master) < 0 || unlockpt(m_master) < 0)
        return fail("grantpt/unlockpt");
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0)
        return fail("ptsname");
    m_path = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0)
        return fail("open slave");
    resetLine();
    // Our own opening happened before the watch, so only clients are counted.
    m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch < 0 || inotify_add_watch(m_watch, name, IN_OPEN | IN_CLOSE) < 0)
        return fail("inotify");

    m_masterNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_masterNotifier, &QSocketNotifier::activated, this, &PtyDevice::readMaster);
    m_watchNotifier = new QSocketNotifier(m_watch, QSocketNotifier::Read, this);
    connect(m_watchNotifier, &QSocketNotifier::activated, this, &PtyDevice::readWatch);
    return true;
}

qsizetype PtyDevice::write(const QByteArray &bytes)
{
    if (m_master < 0 || bytes.isEmpty())
        return 0;
    const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
    return written < 0 ? 0 : written;
}

// May run inside a notifier's own signal, so the notifiers are only switched off here; they go
// with this object.
void PtyDevice::hangUp()
{
    for (QSocketNotifier *notifier : {m_masterNotifier, m_watchNotifier}) {
        if (notifier)
            notifier->setEnabled(false);
    }
    for (int *fd : {&m_master, &m_slave, &m_watch}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void PtyDevice::readMaster()
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            emit received(QByteArray(buffer, count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        // EAGAIN: all read. EIO cannot last while we hold the slave, but must not spin either.
        if (count < 0 && errno != EAGAIN)
            m_masterNotifier->setEnabled(false);
        return;
    }
}

void PtyDevice::readWatch()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_watch, buffer, sizeof buffer);
        if (count <= 0)
            return;
        for (ssize_t offset = 0; offset < count;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            if (event->mask & IN_OPEN)
                ++m_clients;
            if ((event->mask & IN_CLOSE) && m_clients > 0 && --m_clients == 0) {
                resetLine();
                emit clientGone();
            }
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

void PtyDevice::resetLine()
{
    ::ioctl(m_slave, TIOCNXCL);
    termios line{};
    if (::tcgetattr(m_slave, &line) == 0) {
        ::cfmakeraw(&line);
        line.c_cflag &= ~tcflag_t(CSTOPB | PARENB | CRTSCTS);
        line.c_cflag |= CS8 | CLOCAL | CREAD;
        ::cfsetispeed(&line, B9600);
        ::cfsetospeed(&line, B9600);
        ::tcsetattr(m_slave, TCSANOW, &line);
    }
    ::tcflush(m_slave, TCIOFLUSH);
}
