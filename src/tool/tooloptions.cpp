#include "tooloptions.h"

#include <QCommandLineParser>
#include <QLocale>

#include <cstdio>

namespace {

const char *const Description = R"(Reads and writes the calibration date of a Veltra instrument.

Commands:
  ports                 every port number known, its device, description and presence
  identify              model, serial number, version, firmware, battery, checksum
  read                  identify, plus the calibration and expiration dates
  write CALIB [EXPIRES] write the dates (YYYY-MM-DD or the system's short date format),
                        read them back and check the instrument holds them
  version               the tool's version
  history               the calibration record, newest first (--serial, --json, --csv)

Exit codes:
  0  done (write: the instrument holds the dates)
  1  usage error (history: the calibration record cannot be read)
  2  the port cannot be opened (missing, busy or not permitted)
  3  no instrument answered, or a command failed
  4  written, but the instrument does not hold the dates
  5  refused: password (wrong, missing or its file unreadable), firmware too old,
     the instrument changed since it was read, or the calibration record cannot
     keep the write (nothing is written then))";

void printError(const QString &text)
{
    std::fprintf(stderr, "veltra-calib: %s\n", qPrintable(text));
}

} // namespace

QString toolVersionText()
{
    return QStringLiteral("veltra-calib %1").arg(QStringLiteral(VELTRA_VERSION));
}

std::optional<QDate> parseDateArgument(const QString &text)
{
    QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid())
        date = QLocale::system().toDate(text, QLocale::ShortFormat);
    // The instrument keeps two-digit years of this century.
    if (!date.isValid() || date.year() < 2000 || date.year() > 2099)
        return std::nullopt;
    return date;
}

std::optional<ToolOptions> parseToolOptions(const QStringList &arguments, int &exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("ports | identify | read | write | version | history"),
        QStringLiteral("ports|identify|read|write CALIB [EXPIRES]|version|history"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version."));
    const QCommandLineOption port(
        {QStringLiteral("p"), QStringLiteral("port")},
        QStringLiteral("Port number (default: \"ComPort\" of the settings file)."),
        QStringLiteral("N"));
    const QCommandLineOption device(
        {QStringLiteral("d"), QStringLiteral("device")},
        QStringLiteral("Device path instead of a port number (pseudo-terminal, /dev/rfcomm0)."),
        QStringLiteral("PATH"));
    const QCommandLineOption bluetooth(
        {QStringLiteral("b"), QStringLiteral("bluetooth")},
        QStringLiteral("Bluetooth line profile and time limits (default: \"ConnectViaBluetooth\" "
                       "of the settings file)."));
    const QCommandLineOption search(
        QStringLiteral("search"),
        QStringLiteral("When nothing answers, search ports 1 to 255 and store the port found."));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Settings file (default: the program's, as the window finds it)."),
        QStringLiteral("FILE"));
    const QCommandLineOption json(
        QStringLiteral("json"), QStringLiteral("One JSON object on stdout (history: one array)."));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("history: CSV on stdout."));
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        QStringLiteral("history: only the instrument with this serial number."),
        QStringLiteral("S"));
    const QCommandLineOption passwordStdin(
        QStringLiteral("password-stdin"),
        QStringLiteral("Read the access password as one line from standard input."));
    const QCommandLineOption noExpiration(
        QStringLiteral("no-expiration"),
        QStringLiteral("write: no expiration date (the instrument receives 2001-01-01)."));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
                                     QStringLiteral("Every frame on stderr."));
    const QCommandLineOption quiet(
        {QStringLiteral("q"), QStringLiteral("quiet")},
        QStringLiteral("Nothing on stdout but --json; errors still on stderr."));
    parser.addOptions({help, version, port, device, bluetooth, search, settings, json, csv, serial,
                       passwordStdin, noExpiration, verbose, quiet});

    exitCode = ExitUsage;
    const auto usage = [&](const QString &text) -> std::optional<ToolOptions> {
        printError(text + QStringLiteral(" (see --help)"));
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        exitCode = ExitDone;
        return std::nullopt;
    }
    if (parser.isSet(version)) {
        std::printf("%s\n", qPrintable(toolVersionText()));
        exitCode = ExitDone;
        return std::nullopt;
    }

    ToolOptions options;
    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString command = words.takeFirst();
    const QStringList commands{QStringLiteral("ports"),   QStringLiteral("identify"),
                               QStringLiteral("read"),    QStringLiteral("write"),
                               QStringLiteral("version"), QStringLiteral("history")};
    const qsizetype index = commands.indexOf(command);
    if (index < 0)
        return usage(QStringLiteral("unknown command \"%1\"").arg(command));
    options.command = ToolCommand(index);
    if (options.command == ToolCommand::Write) {
        if (words.isEmpty() || words.size() > 2)
            return usage(QStringLiteral("write takes CALIB and optionally EXPIRES"));
        const std::optional<QDate> calibration = parseDateArgument(words[0]);
        if (!calibration)
            return usage(QStringLiteral("\"%1\" is no date between 2000 and 2099").arg(words[0]));
        options.calibration = *calibration;
        if (words.size() == 2) {
            options.expiration = parseDateArgument(words[1]);
            if (!options.expiration)
                return usage(
                    QStringLiteral("\"%1\" is no date between 2000 and 2099").arg(words[1]));
        }
        options.noExpiration = parser.isSet(noExpiration);
        if (options.noExpiration && options.expiration)
            return usage(QStringLiteral("give EXPIRES or --no-expiration, not both"));
    } else if (!words.isEmpty()) {
        return usage(QStringLiteral("%1 takes no argument").arg(command));
    } else if (parser.isSet(noExpiration)) {
        return usage(QStringLiteral("--no-expiration belongs to write"));
    }

    if (parser.isSet(port)) {
        bool ok = false;
        const int number = parser.value(port).toInt(&ok);
        if (!ok || number < 1 || number > 255)
            return usage(QStringLiteral("--port takes a number from 1 to 255"));
        options.port = number;
    }
    options.device = parser.value(device);
    if (options.port && !options.device.isEmpty())
        return usage(QStringLiteral("give --port or --device, not both"));
    if (parser.isSet(bluetooth))
        options.bluetooth = true;
    options.search = parser.isSet(search);
    if (options.search && !options.device.isEmpty())
        return usage(QStringLiteral("--search looks at port numbers, not at --device"));
    options.settings = parser.value(settings);
    options.json = parser.isSet(json);
    options.csv = parser.isSet(csv);
    options.serial = parser.value(serial);
    if (options.command != ToolCommand::History && (options.csv || parser.isSet(serial)))
        return usage(QStringLiteral("--csv and --serial belong to history"));
    if (options.json && options.csv)
        return usage(QStringLiteral("give --json or --csv, not both"));
    options.passwordStdin = parser.isSet(passwordStdin);
    options.verbose = parser.isSet(verbose);
    options.quiet = parser.isSet(quiet);
    exitCode = ExitDone;
    return options;
}
