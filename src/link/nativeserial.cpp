#include "nativeserial.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QFile>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

bool enableParityMarking(qintptr handle)
{
    termios tio{};
    if (::tcgetattr(int(handle), &tio) != 0)
        return false;
    tio.c_iflag |= PARMRK | INPCK;
    tio.c_iflag &= ~tcflag_t(IGNPAR | ISTRIP);
    return ::tcsetattr(int(handle), TCSANOW, &tio) == 0;
}

bool resetLineSettings(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios tio{};
    bool done = false;
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~tcflag_t(CSTOPB | PARENB | CSIZE);
        tio.c_cflag |= CS8 | CLOCAL | CREAD;
        done = ::tcsetattr(fd, TCSANOW, &tio) == 0;
    }
    ::close(fd);
    return done;
}

bool isPseudoTerminal(const QString &path)
{
    struct stat info
    { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    // Linux numbers the terminal sides of Unix98 pseudo-terminals with majors 136 to 143.
    const unsigned int major = major(info.st_rdev);
    return major >= 136 && major <= 143;
}

int driverOutputQueue(qintptr handle)
{
    int queued = 0;
    return ::ioctl(int(handle), TIOCOUTQ, &queued) == 0 ? queued : 0;
}
#else
int driverOutputQueue(qintptr)
{
    return 0;
}

bool isPseudoTerminal(const QString &)
{
    return false;
}

bool enableParityMarking(qintptr)
{
    return false;
}

bool resetLineSettings(const QString &)
{
    return false;
}
#endif
