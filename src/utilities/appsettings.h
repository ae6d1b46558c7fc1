#pragma once
// Section "Appl" of the settings file: the connection settings and the window's two presets.
//
// Contract: readAppSettings() is the one reader of the section and writes nothing; the window and
// veltra-calib both start from it, so they come to the same values from the same file.
// writeConnectionSettings() is the one writer of the connection settings, and storeComPort() the
// one writer of the key "ComPort".

#include <QtGlobal>

// The connection settings: port number (1 = COM1), connection type, and the shortest prompt and
// reply time limits in seconds over Bluetooth.
struct ConnectionSettings
{
    qint16 ComPortNo = 1;
    qint16 BluetoothOn = 0;
    qint16 BtPromptTimeout = 3;
    qint16 BtReplyTimeout = 5;

    bool operator==(const ConnectionSettings &) const = default;
};

struct AppSettings
{
    ConnectionSettings connection;
    qint16 ShowInfoPswMsg = 1;
    qint16 ValidMonthOfCalib = 12;
    // "ValidMonthOfCalib" read -1 (empty, not a number, or -1): 12 is used, and the caller that
    // keeps the file in order writes "12" back.
    bool validMonthsRepaired = false;
};

// Reads the four keys in their order. A number that does not fit 16 bits stops the reading at its
// key: that key and every later one read 0, and no rule after reading applies (the Bluetooth
// limits are not raised, the months not repaired).
AppSettings readAppSettings();

// "ComPort" and "ConnectViaBluetooth" ("1;3;5"); false when the file could not be written.
bool writeConnectionSettings(const ConnectionSettings &settings);
bool storeComPort(qint16 portNo);
