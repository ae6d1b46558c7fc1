#include "simoptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cstdio>

namespace {

bool toNumber(const QString &text, int minimum, int &value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum)
        return false;
    value = number;
    return true;
}

} // namespace

bool isDatesText(const QByteArray &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{6}( \\d{6})?$"));
    return pattern.match(QString::fromLatin1(text)).hasMatch();
}

std::optional<SimOptions> parseSimOptions(const QStringList &arguments, int &exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Virtual Veltra instrument on a pseudo-terminal. Prints the device path on the first line "
        "of its output and serves until SIGTERM or SIGINT."));
    parser.addHelpOption();
    const auto value = [](const char *name, const char *description, const char *valueName) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                                  QString::fromLatin1(valueName));
    };
    const auto flag = [](const char *name, const char *description) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description));
    };
    const QCommandLineOption framing = value("framing",
                                             "plain (prompt \">\", replies \"#...\" CR LF) or "
                                             "framed (prompt BEL, STX ... checksum ETX). "
                                             "Default: framed.",
                                             "plain|framed");
    const QCommandLineOption echo = flag("echo", "Echo each command frame (not its terminator).");
    const QCommandLineOption ident =
        value("ident", "Answer to \"V\". Default: 'Veltra K-40 V1.610'.", "text");
    const QCommandLineOption identEx =
        value("ident-ex", "Answer to \"Vx\". Default: 'K-40 1.610 CRC 3A7F1C'.", "text");
    const QCommandLineOption serial =
        value("serial", "Answer to \"#R\". Default: '12345'.", "text");
    const QCommandLineOption battery =
        value("battery", "Answer to \"Ux\", tenths of a volt first. Default: '37 0'.", "text");
    const QCommandLineOption dates =
        value("dates",
              "Dates the instrument holds: \"yymmdd\" (calibration only) or \"yymmdd yymmdd\" "
              "(calibration and expiration). Default: '240115 250115'.",
              "dates");
    const QCommandLineOption status = value("status", "Answer to \"t\". Default: '0'.", "text");
    const QCommandLineOption state = value(
        "state",
        "Keep written dates in this file across restarts (it wins over --dates when present).",
        "file");
    const QCommandLineOption baud =
        value("baud", "Line speed: 9600 (7E2) or 115200 (8N1). Default: 9600.", "rate");
    const QCommandLineOption baudPace = flag(
        "baud-pace", "Give every character its time on the line at --baud, in both directions.");
    const QCommandLineOption silent = flag("silent", "Answer nothing, not even the prompt.");
    const QCommandLineOption noReply = flag("no-reply", "Prompt, but never reply to a command.");
    const QCommandLineOption delay = value("delay", "Wait this long before each reply.", "ms");
    const QCommandLineOption reject =
        value("reject", "Reject this command (may be repeated).", "command");
    const QCommandLineOption stall = value(
        "stall", "Never answer a command that starts with this text (may be repeated).", "text");
    const QCommandLineOption badChecksum =
        flag("bad-checksum", "Send framed replies with a wrong checksum.");
    const QCommandLineOption lowercase =
        flag("lowercase-checksum", "Write the checksum of framed replies in lower case.");
    const QCommandLineOption split =
        value("split", "Send each reply in pieces of this many bytes, 5 ms apart.", "bytes");
    const QCommandLineOption noise =
        flag("noise", "Send a line without \"#\" 20 ms before each plain reply.");
    const QCommandLineOption hangup = value(
        "hangup-after",
        "Answer this many commands, then vanish on the next one (the device hangs up and exits).",
        "n");
    const QCommandLineOption ignoreWrites =
        flag("ignore-writes", "Accept \"WW\" but keep the old dates.");
    const QCommandLineOption swapAfter = value(
        "swap-after",
        "After this many answers to \"#R\", answer it with --swap-serial (another instrument was "
        "put on the adapter).",
        "n");
    const QCommandLineOption swapSerial =
        value("swap-serial",
              "Serial number of the instrument after --swap-after. Default: '67890'.", "text");
    const QCommandLineOption endless = flag("endless", "Start each reply and never end it.");
    const QCommandLineOption log = value(
        "log", "Log every frame received and sent to this file (see the readme for the format).",
        "file");
    const QCommandLineOption registerPort = value(
        "register",
        "Enter the device as port n (key \"COMn\" of section \"Ports\") in the --ini file.", "n");
    const QCommandLineOption ini = value("ini", "Settings file for --register.", "file");
    const QCommandLineOption script = value(
        "script",
        "Take the instrument off the adapter and put others on it at the times this file says "
        "(see the readme).",
        "file");
    parser.addOptions({framing, echo,   ident,        identEx,      serial,      battery,
                       dates,   status, state,        baud,         baudPace,    silent,
                       noReply, delay,  reject,       stall,        badChecksum, lowercase,
                       split,   noise,  hangup,       ignoreWrites, swapAfter,   swapSerial,
                       endless, log,    registerPort, ini,          script});

    exitCode = 2;
    const auto fail = [&](const QString &message) -> std::optional<SimOptions> {
        std::fprintf(stderr, "veltra-sim: %s\n", qPrintable(message));
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        exitCode = 0;
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    SimOptions options;
    if (parser.isSet(framing)) {
        const QString name = parser.value(framing);
        if (name != QLatin1String("plain") && name != QLatin1String("framed"))
            return fail(QStringLiteral("--framing takes plain or framed"));
        options.framing = name == QLatin1String("plain") ? Framing::Plain : Framing::Framed;
    }
    options.echo = parser.isSet(echo);
    const auto text = [&](const QCommandLineOption &option, QByteArray &target) {
        if (parser.isSet(option))
            target = parser.value(option).toLatin1();
    };
    text(ident, options.ident);
    text(identEx, options.identEx);
    text(serial, options.serial);
    text(battery, options.battery);
    text(dates, options.dates);
    text(status, options.status);
    if (!isDatesText(options.dates))
        return fail(QStringLiteral("--dates takes \"yymmdd\" or \"yymmdd yymmdd\""));
    options.stateFile = parser.value(state);
    if (parser.isSet(baud)) {
        if (!toNumber(parser.value(baud), 0, options.baud)
            || (options.baud != 9600 && options.baud != 115200))
            return fail(QStringLiteral("--baud takes 9600 or 115200"));
    }
    options.baudPace = parser.isSet(baudPace);
    options.silent = parser.isSet(silent);
    options.noReply = parser.isSet(noReply);
    if (parser.isSet(delay) && !toNumber(parser.value(delay), 0, options.delayMs))
        return fail(QStringLiteral("--delay takes milliseconds"));
    options.rejected = parser.values(reject);
    options.stalled = parser.values(stall);
    options.badChecksum = parser.isSet(badChecksum);
    options.lowercaseChecksum = parser.isSet(lowercase);
    if (parser.isSet(split) && !toNumber(parser.value(split), 1, options.splitBytes))
        return fail(QStringLiteral("--split takes a number of bytes above 0"));
    options.noise = parser.isSet(noise);
    if (parser.isSet(hangup) && !toNumber(parser.value(hangup), 0, options.hangupAfter))
        return fail(QStringLiteral("--hangup-after takes a number of commands"));
    options.ignoreWrites = parser.isSet(ignoreWrites);
    if (parser.isSet(swapAfter) && !toNumber(parser.value(swapAfter), 0, options.swapAfter))
        return fail(QStringLiteral("--swap-after takes a number of answers"));
    text(swapSerial, options.swapSerial);
    options.endless = parser.isSet(endless);
    options.logFile = parser.value(log);
    if (parser.isSet(registerPort)) {
        if (!toNumber(parser.value(registerPort), 1, options.registerPort)
            || options.registerPort > 255)
            return fail(QStringLiteral("--register takes a port number 1 to 255"));
        if (!parser.isSet(ini))
            return fail(QStringLiteral("--register needs --ini"));
    }
    options.iniFile = parser.value(ini);
    options.scriptFile = parser.value(script);
    exitCode = 0;
    return options;
}
