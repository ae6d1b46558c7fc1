#include "historymodel.h"

#include "calibrecord.h"
#include "recordschema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

constexpr int PageSize = 256;

// "calibration / expiration", or the calibration date alone for a model without an expiration
// date. NULL joined to text is NULL on both databases, so the separator goes with the date.
QString datePair(const char *calibration, const char *expiration)
{
    return QStringLiteral("COALESCE(%1, '') || COALESCE(' / ' || %2, '')")
        .arg(QLatin1String(calibration), QLatin1String(expiration));
}

// The SQL of each column, in column order; the time stays UTC text, shown in local time.
QStringList columnSql()
{
    return {QStringLiteral("started_at"),
            QStringLiteral("COALESCE(serial, '')"),
            QStringLiteral("COALESCE(model, '')"),
            datePair("calibration_before", "expiration_before"),
            datePair("calibration_asked", "expiration_asked"),
            datePair("calibration_read_back", "expiration_read_back"),
            QStringLiteral("COALESCE(outcome, '%1')").arg(outcomeText(RecordOutcome::Interrupted)),
            QStringLiteral("COALESCE(technician, account)"),
            QStringLiteral("host"),
            QStringLiteral("id")};
}

} // namespace

HistoryModel::HistoryModel(CalibRecord &record, QObject *parent)
    : QAbstractTableModel(parent),
      m_record(record)
{ }

void HistoryModel::setSerialFilter(const QString &serial)
{
    m_filter.serial = serial;
    m_filter.serialPrefix = true;
    reload();
}

void HistoryModel::setOutcomeFilter(std::optional<RecordOutcome> outcome)
{
    m_filter.outcome = outcome;
    reload();
}

qint64 HistoryModel::entryId(int row) const
{
    return m_rows.value(row).value(ColumnCount).toLongLong();
}

void HistoryModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_order = order;
    reload();
}

void HistoryModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_atEnd = false;
    m_error.clear();
    endResetModel();
    fetchMore(QModelIndex());
}

QString HistoryModel::pageSql() const
{
    const QString direction =
        m_order == Qt::AscendingOrder ? QStringLiteral("ASC") : QStringLiteral("DESC");
    // id breaks ties, so pages never overlap or skip rows of equal sort keys.
    return QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 %5, id %5 LIMIT %6 OFFSET %7")
        .arg(columnSql().join(u", "), RecordTable, historyCondition(m_filter),
             columnSql().at(m_sortColumn), direction)
        .arg(PageSize)
        .arg(m_rows.size());
}

bool HistoryModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void HistoryModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    QList<QStringList> page;
    bool read = false;
    if (m_record.open()) {
        QSqlQuery query(m_record.database());
        query.setForwardOnly(true);
        query.prepare(pageSql());
        bindHistoryFilter(query, m_filter);
        read = query.exec() || m_record.fail(CalibRecord::tr("cannot be read"), query.lastError());
        while (read && query.next()) {
            QStringList row;
            for (int column = 0; column <= ColumnCount; ++column)
                row << query.value(column).toString();
            page << row;
        }
    }
    m_atEnd = page.size() < PageSize;
    if (!page.isEmpty()) {
        beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + page.size() - 1));
        m_rows << page;
        endInsertRows();
    }
    if (!read) {
        m_error = m_record.errorText();
        emit readFailed(m_error);
    }
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QString &text = m_rows.at(index.row()).at(index.column());
    if (index.column() == Time) {
        const QDateTime local = instantFromText(text).toLocalTime();
        return local.toString(role == Qt::DisplayRole ? QStringLiteral("yyyy-MM-dd HH:mm")
                                                      : QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
    }
    // The outcome is stored in English and shown in the user's language.
    if (index.column() == Outcome) {
        if (const std::optional<RecordOutcome> outcome = outcomeFromText(text))
            return outcomeShown(*outcome);
    }
    // The whole value also where a narrowed column cuts it short.
    return text;
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QStringList titles{tr("Time"),         tr("Serial No."),  tr("Model"),
                             tr("Dates before"), tr("Dates asked"), tr("Dates read back"),
                             tr("Outcome"),      tr("Technician"),  tr("Bench")};
    return titles.value(section);
}
