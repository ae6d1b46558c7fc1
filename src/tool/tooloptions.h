#pragma once
// The command line of veltra-calib: what to do, on which port, and how to answer.

#include <QDate>
#include <QString>

#include <optional>

// The tool's exit codes, as documented in its help and the README.
enum ExitCode : int {
    ExitDone = 0,
    ExitUsage = 1,
    ExitPort = 2,
    ExitInstrument = 3,
    ExitNotHeld = 4,
    ExitRefused = 5,
};

enum class ToolCommand {
    Ports,
    Identify,
    Read,
    Write,
    Version,
    History,
    Due,
    Label,
    Certificate,
    Watch,
    Release,
};

// Commands that draw and so need Qt Gui.
bool drawsPages(ToolCommand command);

struct ToolOptions
{
    ToolCommand command = ToolCommand::Read;
    QDate calibration;
    std::optional<QDate> expiration;
    bool noExpiration = false;
    bool each = false; // write: every instrument placed, until interrupted
    std::optional<double> pollSeconds; // watch, write --each: how often the adapter is asked

    std::optional<int> port;
    QString device;
    std::optional<bool> bluetooth;
    bool search = false;
    QString settings;
    bool json = false;
    bool csv = false;
    QString serial; // history: only this instrument
    bool verify = false; // history: walk the chain instead
    int withinDays = 30; // due
    bool ics = false; // due: an iCalendar file on stdout
    QString entryId; // label, certificate, release: a record id or certificate number
    QString checkFile; // certificate --check: the certificate to check against the record
    QString output; // label, certificate: the PDF file
    QString printer; // label: the print queue, instead of [Label] Printer
    QString reference; // write: the reference source, instead of the settings file's
    bool passwordStdin = false;
    bool verbose = false;
    bool quiet = false;
};

// Parses the arguments (the program name first). Prints help, the version or a usage error and
// gives no options when the tool should end at once; exitCode says how.
std::optional<ToolOptions> parseToolOptions(const QStringList &arguments, int &exitCode);

// YYYY-MM-DD, or the system's short date format; no value for anything else.
std::optional<QDate> parseDateArgument(const QString &text);

QString toolVersionText();

// "veltra-calib: text" on stderr.
void printError(const QString &text);
