#pragma once
// What falls due: per instrument, the latest verified write, when it gave the instrument an
// expiration date that lies within a number of days from today or has passed. A later verified
// write without an expiration date means the instrument keeps none now: it falls due no more.

#include "recordentry.h"

#include <QList>

class CalibRecord;

struct DueEntry
{
    RecordEntry entry; // its expirationAsked is the date the instrument holds
    qint64 daysLeft = 0; // negative when expired
};

// Sorted by expiration date, then serial number. False when the record cannot be read
// (record.errorText()).
bool dueEntries(CalibRecord &record, const QDate &today, int withinDays, QList<DueEntry> &due);
