#pragma once
// A timed script of instruments taken off the adapter and put on it, so that a bench of
// instruments can be played: one step a line, seconds since start and an action,
//
//     3.0 remove
//     5.0 place serial=40124 dates=240101 250101
//     8.0 place serial=40125 ignore-writes
//
// Blank lines and lines starting with '#' are skipped. A placed instrument keeps the options'
// answers for what the step does not name.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class InstrumentModel;
class QObject;

struct SimStep
{
    double seconds = 0;
    bool place = false;
    // Empty: the options' answer.
    QByteArray serial;
    QByteArray dates;
    // Accepts "WW" but keeps its dates, as --ignore-writes.
    bool ignoreWrites = false;
};

// The steps in the order of their times; no steps and the reason (with the line number) when a
// line is not understood.
std::optional<QList<SimStep>> parseSimScript(const QByteArray &text, QString &error);

// Plays the steps on the model at their times from now, while context lives.
void playSimScript(const QList<SimStep> &steps, InstrumentModel &model, QObject *context);
