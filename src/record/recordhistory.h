#pragma once
// Reading the record back: newest first, optionally for one instrument, streamed row by row so
// a record of any size is never held in memory at once.

#include "recordentry.h"

#include <functional>

class CalibRecord;
class QIODevice;
class QSqlQuery;

struct HistoryFilter
{
    QString serial; // empty: every instrument
    bool serialPrefix = false; // match serial numbers that start with it (the window's filter)
    std::optional<RecordOutcome> outcome; // none: every outcome
};

// " WHERE ..." for the filter (empty without one) and its bound values, for queries of
// calibration_record; the window adds its own columns and order.
QString historyCondition(const HistoryFilter &filter);
void bindHistoryFilter(QSqlQuery &query, const HistoryFilter &filter);

// The entry with this id; none when there is none or the record cannot be read.
std::optional<RecordEntry> readEntry(CalibRecord &record, qint64 id);

// Calls visit for each entry, newest first, until it returns false. False when the record
// cannot be read (record.errorText() says why).
bool forEachEntry(CalibRecord &record, const HistoryFilter &filter,
                  const std::function<bool(const RecordEntry &)> &visit);

// The keys of an exported entry, in order: the CSV header and the JSON object keys.
QStringList exportKeys();

// One CSV line of RFC 4180, CRLF ended, fields quoted where needed.
QByteArray csvLine(const QStringList &texts);

// Both return false when the record cannot be read (record.errorText()) or out takes no more
// bytes (out.errorString()).
// RFC 4180: UTF-8, a header row, CRLF line ends, fields quoted where needed. Instants in UTC.
bool writeCsv(CalibRecord &record, const HistoryFilter &filter, QIODevice &out);
// One JSON array of objects with exportKeys(); dates "YYYY-MM-DD" or null, instants ISO 8601 UTC.
bool writeJson(CalibRecord &record, const HistoryFilter &filter, QIODevice &out);
