#include "outcome.h"

#include <QCoreApplication>

QString instrumentChangedText(const Outcome &outcome)
{
    return QCoreApplication::translate(
               "Calibration",
               "The instrument has changed since it was read (serial number %1, now %2). "
               "Read it again before changing its dates.")
        .arg(outcome.serialRead, outcome.serialNow);
}
