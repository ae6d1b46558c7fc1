#pragma once
// Section "Bench" of the settings file: the window's bench mode, which asks the instrument on the
// adapter for its serial number at every poll so that instruments can follow one another, and
// whether each label is printed after a verified write.
//
// Contract: readBenchSettings() is the one reader of the section and writes nothing; a value that
// is missing or no number gives the default. writeBenchEnabled() is the one writer ("Enabled" is
// the only key the program changes; "PollSeconds" is set by hand).

#include <QtGlobal>

struct BenchSettings
{
    static constexpr double DefaultPollSeconds = 2;

    bool enabled = false;
    double pollSeconds = DefaultPollSeconds;
    // Each label printed after a verified write, without asking.
    bool printLabel = false;
};

BenchSettings readBenchSettings();

// "Enabled" as 1 or 0; false when the file could not be written.
bool writeBenchEnabled(bool enabled);
