#pragma once
// Command-line options of veltra-sim: what the virtual instrument answers and which faults it
// shows on demand.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

enum class Framing { Plain, Framed };

struct SimOptions
{
    Framing framing = Framing::Framed;
    bool echo = false;

    // Answers.
    QByteArray ident = "Veltra K-40 V1.610";
    QByteArray identEx = "K-40 1.610 CRC 3A7F1C";
    QByteArray serial = "12345";
    QByteArray battery = "37 0";
    QByteArray dates = "240115 250115";
    QByteArray status = "0";
    QString stateFile;

    // Line speed and its simulation.
    int baud = 9600;
    bool baudPace = false;

    // Faults.
    bool silent = false;
    bool noReply = false;
    int delayMs = 0;
    QStringList rejected;
    // Commands never answered, by their start ("WW": every write).
    QStringList stalled;
    bool badChecksum = false;
    bool lowercaseChecksum = false;
    int splitBytes = 0;
    bool noise = false;
    int hangupAfter = -1;
    bool ignoreWrites = false;
    // After this many answers to "#R" another instrument is on the adapter: "#R" answers
    // swapSerial.
    int swapAfter = -1;
    QByteArray swapSerial = "67890";
    bool endless = false;

    // Instruments removed and placed while the simulator runs (simscript.h).
    QString scriptFile;

    QString logFile;
    int registerPort = 0;
    QString iniFile;

    // Seconds one character takes on the line: 11 bits at 9600 7E2, 10 bits at 115200 8N1.
    double charSeconds() const { return (baud == 115200 ? 10.0 : 11.0) / baud; }
};

// "yymmdd" or "yymmdd yymmdd".
bool isDatesText(const QByteArray &text);

// Parses the process's arguments. Prints help or an error and returns no options when the
// program should end; exitCode tells how.
std::optional<SimOptions> parseSimOptions(const QStringList &arguments, int &exitCode);
