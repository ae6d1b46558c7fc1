#include "terminal.h"

#include <QByteArray>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A line from the descriptor, byte by byte so nothing after the line is taken; at most 1 KiB.
std::optional<QString> readLine(int fd)
{
    QByteArray line;
    char c = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, &c, 1)) == 1 && c != '\n') {
        if (line.size() < 1024)
            line.append(c);
    }
    if (got != 1 && line.isEmpty())
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

} // namespace

bool isTerminal(std::FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

std::optional<QString> readHiddenLine(const QString &prompt)
{
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    termios saved{};
    if (::tcgetattr(fd, &saved) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    const QByteArray shown = prompt.toLocal8Bit();
    [[maybe_unused]] const ssize_t written = ::write(fd, shown.constData(), size_t(shown.size()));
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(fd, TCSAFLUSH, &quiet);
    const std::optional<QString> line = readLine(fd);
    ::tcsetattr(fd, TCSAFLUSH, &saved);
    ::close(fd);
    return line;
}

std::optional<QString> readStdinLine()
{
    return readLine(STDIN_FILENO);
}
