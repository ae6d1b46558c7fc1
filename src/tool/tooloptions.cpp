#include "tooloptions.h"

#include "calibrationwrite.h"
#include "tooltext.h"

#include <QCommandLineParser>
#include <QLocale>

#include <cstdio>

namespace {

const char *const Description =
    QT_TRANSLATE_NOOP("ToolText", R"(Reads and writes the calibration date of a Veltra instrument.

Commands:
  ports                 every port number known, its device, description and presence
  identify              model, serial number, version, firmware, battery, checksum
  read                  identify, plus the calibration and expiration dates
  write CALIB [EXPIRES] write the dates (YYYY-MM-DD or the system's short date format),
                        read them back and check the instrument holds them; with --each,
                        every instrument placed on the adapter, once per serial number,
                        until interrupted, then "N written, M verified, K failed"
  watch                 one line per event until interrupted: an instrument placed (with
                        what read prints) or removed, the adapter unplugged or plugged
  version               the tool's version
  history               the calibration record, newest first (--serial, --json, --csv);
                        with --verify, checks that no entry was changed or removed
  due                   instruments whose calibration expires within --within DAYS
                        (default 30) or has expired (--json, --csv, --ics)
  label ID [-o FILE.pdf | --printer NAME]
                        the label of a verified calibration (ID: record id or
                        certificate number) as a PDF file or printed on the
                        queue NAME (default: Printer of section [Label]); size
                        and lab from section [Label]
  certificate ID -o FILE.pdf
                        its calibration certificate: one A4 page, PDF/A-1b,
                        lab and address from [Label] and [Certificate]
  certificate --check FILE.pdf
                        checks a certificate against the record: its entry, that
                        entry's hash and the chain up to it
  release ID            releases a verified calibration of another account, as a
                        second person; kept in the record

Exit codes:
  0  done (write: the instrument holds the dates; watch, write --each: interrupted by
     SIGINT or SIGTERM, every write verified)
  1  usage error (history, due: the calibration record cannot be read; write: an
     expiration date before the calibration date; label: the print queue takes
     no job)
  2  the port cannot be opened (missing, busy or not permitted)
  3  no instrument answered, or a command failed
  4  written, but the instrument does not hold the dates (write --each: a write of
     the run did not verify)
     (history --verify: an entry of the record was changed or removed;
     certificate --check: its entry is missing, no longer gives its hash, or the
     chain is broken before it)
  5  refused: password (wrong, missing or its file unreadable), firmware too old,
     the instrument changed since it was read, or the calibration record cannot
     keep the write (nothing is written then); label, certificate: the entry
     was not verified, or is not released where [Certificate] RequireRelease=1;
     release: the entry is this account's own, not verified or already released)");

} // namespace

void printError(const QString &text)
{
    std::fprintf(stderr, "veltra-calib: %s\n", qPrintable(text));
}

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

bool drawsPages(ToolCommand command)
{
    return command == ToolCommand::Label || command == ToolCommand::Certificate;
}

std::optional<ToolOptions> parseToolOptions(const QStringList &arguments, int &exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(ToolText::tr(Description));
    parser.addPositionalArgument(
        QStringLiteral("command"),
        ToolText::tr(
            "ports | identify | read | write | version | history | due | label | certificate | "
            "watch | release"),
        ToolText::tr("ports|identify|read|write CALIB [EXPIRES]|version|history|due|label "
                     "ID|certificate ID|watch|release ID"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  ToolText::tr("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"), ToolText::tr("Show the version."));
    const QCommandLineOption port(
        {QStringLiteral("p"), QStringLiteral("port")},
        ToolText::tr("Port number (default: \"ComPort\" of the settings file)."),
        QStringLiteral("N"));
    const QCommandLineOption device(
        {QStringLiteral("d"), QStringLiteral("device")},
        ToolText::tr("Device path instead of a port number (pseudo-terminal, /dev/rfcomm0)."),
        QStringLiteral("PATH"));
    const QCommandLineOption bluetooth(
        {QStringLiteral("b"), QStringLiteral("bluetooth")},
        ToolText::tr("Bluetooth line profile and time limits (default: \"ConnectViaBluetooth\" "
                     "of the settings file)."));
    const QCommandLineOption search(
        QStringLiteral("search"),
        ToolText::tr("When nothing answers, search ports 1 to 255 and store the port found."));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        ToolText::tr("Settings file (default: the program's, as the window finds it)."),
        QStringLiteral("FILE"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  ToolText::tr("One JSON object on stdout (history: one array)."));
    const QCommandLineOption csv(QStringLiteral("csv"), ToolText::tr("history: CSV on stdout."));
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        ToolText::tr("history: only the instrument with this serial number."), QStringLiteral("S"));
    const QCommandLineOption verify(
        QStringLiteral("verify"),
        ToolText::tr("history: check the chain of completed entries; exit 4 names the first "
                     "entry changed or removed."));
    const QCommandLineOption within(QStringLiteral("within"),
                                    ToolText::tr("due: days ahead (default 30)."),
                                    QStringLiteral("DAYS"));
    const QCommandLineOption ics(QStringLiteral("ics"),
                                 ToolText::tr("due: an iCalendar file on stdout, one event per "
                                              "instrument on its expiration date."));
    const QCommandLineOption reference(
        QStringLiteral("reference"),
        ToolText::tr("write: the reference source used, kept in the calibration record "
                     "(default: \"Reference\" of section [Record] of the settings file)."),
        QStringLiteral("TEXT"));
    const QCommandLineOption passwordStdin(
        QStringLiteral("password-stdin"),
        ToolText::tr("Read the access password as one line from standard input."));
    const QCommandLineOption noExpiration(
        QStringLiteral("no-expiration"),
        ToolText::tr("write: no expiration date (the instrument receives 2001-01-01)."));
    const QCommandLineOption each(
        QStringLiteral("each"),
        ToolText::tr("write: every instrument placed on the adapter, once per serial number, "
                     "until SIGINT or SIGTERM."));
    const QCommandLineOption poll(
        QStringLiteral("poll"),
        ToolText::tr("watch, write --each: seconds between questions to the adapter "
                     "(default: \"PollSeconds\" of section [Bench], else 2)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
                                     ToolText::tr("Every frame on stderr."));
    const QCommandLineOption quiet(
        {QStringLiteral("q"), QStringLiteral("quiet")},
        ToolText::tr("Nothing on stdout but --json; errors still on stderr."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    ToolText::tr("label, certificate: the PDF file to write."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        ToolText::tr("certificate: check this certificate against the calibration record."),
        QStringLiteral("FILE"));
    const QCommandLineOption printer(
        QStringLiteral("printer"),
        ToolText::tr("label: the print queue (default: \"Printer\" of section [Label])."),
        QStringLiteral("NAME"));
    parser.addOptions({help,     version,   port,          device,       bluetooth, search,
                       settings, json,      csv,           serial,       verify,    within,
                       ics,      reference, passwordStdin, noExpiration, each,      poll,
                       verbose,  quiet,     output,        printer,      check});

    exitCode = ExitUsage;
    const auto usage = [&](const QString &text) -> std::optional<ToolOptions> {
        printError(text + ToolText::tr(" (see --help)"));
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
        return usage(ToolText::tr("no command given"));
    const QString command = words.takeFirst();
    const QStringList commands{
        QStringLiteral("ports"), QStringLiteral("identify"), QStringLiteral("read"),
        QStringLiteral("write"), QStringLiteral("version"),  QStringLiteral("history"),
        QStringLiteral("due"),   QStringLiteral("label"),    QStringLiteral("certificate"),
        QStringLiteral("watch"), QStringLiteral("release")};
    const qsizetype index = commands.indexOf(command);
    if (index < 0)
        return usage(ToolText::tr("unknown command \"%1\"").arg(command));
    options.command = ToolCommand(index);
    if (options.command != ToolCommand::Label && parser.isSet(printer))
        return usage(ToolText::tr("--printer belongs to label"));
    if (options.command == ToolCommand::Write) {
        if (words.isEmpty() || words.size() > 2)
            return usage(ToolText::tr("write takes CALIB and optionally EXPIRES"));
        const std::optional<QDate> calibration = parseDateArgument(words[0]);
        if (!calibration)
            return usage(ToolText::tr("\"%1\" is no date between 2000 and 2099").arg(words[0]));
        options.calibration = *calibration;
        if (words.size() == 2) {
            options.expiration = parseDateArgument(words[1]);
            if (!options.expiration)
                return usage(ToolText::tr("\"%1\" is no date between 2000 and 2099").arg(words[1]));
        }
        options.noExpiration = parser.isSet(noExpiration);
        if (options.noExpiration && options.expiration)
            return usage(ToolText::tr("give EXPIRES or --no-expiration, not both"));
        // Most often the two dates given the wrong way round.
        const DateRequest asked{options.calibration, options.expiration};
        if (expiresBeforeCalibration(asked)) {
            printError(expiresBeforeCalibrationText(asked));
            return std::nullopt;
        }
    } else if (parser.isSet(check)) {
        if (options.command != ToolCommand::Certificate)
            return usage(ToolText::tr("--check belongs to certificate"));
        options.checkFile = parser.value(check);
        if (options.checkFile.isEmpty())
            return usage(ToolText::tr("--check needs a file name"));
        if (!words.isEmpty() || parser.isSet(output))
            return usage(ToolText::tr("certificate --check takes a file and no ID or -o"));
    } else if (drawsPages(options.command) || options.command == ToolCommand::Release) {
        if (words.size() != 1)
            return usage(ToolText::tr("%1 takes one ID").arg(command));
        options.entryId = words[0].trimmed();
        options.output = parser.value(output);
        options.printer = parser.value(printer).trimmed();
        if (options.command == ToolCommand::Certificate && options.output.isEmpty())
            return usage(ToolText::tr("%1 needs -o FILE.pdf").arg(command));
        if (parser.isSet(output) && options.output.isEmpty())
            return usage(ToolText::tr("-o needs a file name"));
        if (parser.isSet(printer) && options.printer.isEmpty())
            return usage(ToolText::tr("--printer needs a queue name"));
        if (!options.output.isEmpty() && !options.printer.isEmpty())
            return usage(ToolText::tr("give -o or --printer, not both"));
    } else if (!words.isEmpty()) {
        return usage(ToolText::tr("%1 takes no argument").arg(command));
    } else if (parser.isSet(noExpiration)) {
        return usage(ToolText::tr("--no-expiration belongs to write"));
    }
    options.each = parser.isSet(each);
    if (options.each && options.command != ToolCommand::Write)
        return usage(ToolText::tr("--each belongs to write"));
    if (parser.isSet(poll)) {
        if (options.command != ToolCommand::Watch && !options.each)
            return usage(ToolText::tr("--poll belongs to watch and write --each"));
        bool ok = false;
        options.pollSeconds = parser.value(poll).toDouble(&ok);
        if (!ok || *options.pollSeconds < 0.05 || *options.pollSeconds > 3600)
            return usage(ToolText::tr("--poll takes seconds from 0.05 to 3600"));
    }

    if (parser.isSet(port)) {
        bool ok = false;
        const int number = parser.value(port).toInt(&ok);
        if (!ok || number < 1 || number > 255)
            return usage(ToolText::tr("--port takes a number from 1 to 255"));
        options.port = number;
    }
    options.device = parser.value(device);
    if (options.port && !options.device.isEmpty())
        return usage(ToolText::tr("give --port or --device, not both"));
    if (parser.isSet(bluetooth))
        options.bluetooth = true;
    options.search = parser.isSet(search);
    if (options.search && !options.device.isEmpty())
        return usage(ToolText::tr("--search looks at port numbers, not at --device"));
    options.settings = parser.value(settings);
    options.json = parser.isSet(json);
    options.csv = parser.isSet(csv);
    options.serial = parser.value(serial);
    const bool listing =
        options.command == ToolCommand::History || options.command == ToolCommand::Due;
    if (!listing && options.csv)
        return usage(ToolText::tr("--csv belongs to history and due"));
    if (options.command != ToolCommand::History && (parser.isSet(serial) || parser.isSet(verify)))
        return usage(ToolText::tr("--serial and --verify belong to history"));
    options.verify = parser.isSet(verify);
    options.ics = parser.isSet(ics);
    if (options.command != ToolCommand::Due && (options.ics || parser.isSet(within)))
        return usage(ToolText::tr("--within and --ics belong to due"));
    if (parser.isSet(within)) {
        bool ok = false;
        options.withinDays = parser.value(within).toInt(&ok);
        if (!ok || options.withinDays < 0 || options.withinDays > 36500)
            return usage(ToolText::tr("--within takes a number of days from 0 to 36500"));
    }
    if (int(options.json) + int(options.csv) + int(options.ics) + int(options.verify) > 1)
        return usage(ToolText::tr("give one of --json, --csv, --ics or --verify"));
    options.reference = parser.value(reference).trimmed();
    if (!drawsPages(options.command) && parser.isSet(output))
        return usage(ToolText::tr("-o belongs to label and certificate"));
    if (options.command != ToolCommand::Write && parser.isSet(reference))
        return usage(ToolText::tr("--reference belongs to write"));
    options.passwordStdin = parser.isSet(passwordStdin);
    options.verbose = parser.isSet(verbose);
    options.quiet = parser.isSet(quiet);
    exitCode = ExitDone;
    return options;
}
