#pragma once
// The calibration record as a table model, newest first by default. Rows come in pages as the
// view scrolls (canFetchMore/fetchMore), so a record of any size opens at once and only what was
// scrolled through is held. Sorting by any column and the serial filter query the database again.
// The model reads through the CalibRecord it is given, which must outlive it. Nothing is read
// until a view asks (fetchMore) or the order is set (sort).

#include "recordhistory.h"

#include <QAbstractTableModel>
#include <QStringList>

class CalibRecord;

class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        Time,
        Serial,
        Model,
        Before,
        Asked,
        ReadBack,
        Outcome,
        Technician, // the account where the entry names no technician
        Bench,
        ColumnCount
    };

    explicit HistoryModel(CalibRecord &record, QObject *parent = nullptr);

    // Rows of instruments whose serial number starts with the text (all for an empty one).
    void setSerialFilter(const QString &serial);
    // Rows of one outcome (all for none).
    void setOutcomeFilter(std::optional<RecordOutcome> outcome);
    // The record's id of the entry in this row.
    qint64 entryId(int row) const;
    HistoryFilter filter() const { return m_filter; }
    // Why the last page could not be read; empty when it could.
    QString errorText() const { return m_error; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    void readFailed(const QString &errorText);

private:
    void reload();
    QString pageSql() const;

    CalibRecord &m_record;
    HistoryFilter m_filter;
    int m_sortColumn = Time;
    Qt::SortOrder m_order = Qt::DescendingOrder;
    QList<QStringList> m_rows;
    bool m_atEnd = false;
    QString m_error;
};
