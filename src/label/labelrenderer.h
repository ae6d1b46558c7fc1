#pragma once
// The label: the fields beside or above their QR code, in the largest type from 10 pt down to
// 6 pt that shows them all on the label. Nothing is drawn smaller or cut off: when the fields do
// not fit at 6 pt, nothing is drawn and the error says so.

#include "labelfields.h"

#include <QSizeF>

class QPainter;

// Draws on the painter's current page, which is sizeMm large with no margins.
bool paintLabel(QPainter &painter, const QSizeF &sizeMm, const QList<LabelField> &fields,
                QString &error);

// A one-page PDF of sizeMm holding the label.
bool writeLabelPdf(const QString &path, const QSizeF &sizeMm, const QList<LabelField> &fields,
                   QString &error);
