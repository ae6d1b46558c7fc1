// Another program on a port, for the tests that meet one: port-holder <device path> opens the
// device the way QSerialPort does (lock file, exclusive use), prints "open" (or "failed: <why>"
// and ends with 1), and holds it until its standard input closes.

#include <QCoreApplication>
#include <QSerialPort>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: port-holder <device path>\n");
        return 2;
    }
    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    if (!port.open(QIODevice::ReadWrite)) {
        std::printf("failed: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    std::printf("open\n");
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) { }
    return 0;
}
