#pragma once
// What falls due as an iCalendar file (RFC 5545), made with libical.

#include "recorddue.h"

#include <QByteArray>

// One all-day event per instrument on its expiration date. Its UID depends only on the serial
// number and that date, so a calendar that imports the file again updates the events instead of
// doubling them; stamp is the DTSTAMP of every event.
QByteArray dueCalendar(const QList<DueEntry> &due, const QDateTime &stamp);
