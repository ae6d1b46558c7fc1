#pragma once
// Sending a label to a CUPS print queue. The label is drawn into a PDF file of its own size and
// submitted with libcups, with the page size as a custom medium and pdfAutoRotate=off, so that
// the queue prints exactly WidthMm x HeightMm and does not turn a label that is taller than wide.
// Qt's QPrinter offers no public way to pass such job options, and it would bring Qt Widgets
// into veltra-calib; this path serves the window and the tool alike.

#include "labelfields.h"

#include <QSizeF>

#include <optional>

// The job's id on the queue; none, with error set, when the label cannot be drawn or the queue
// does not take the job. The CUPS server is the client's default (CUPS_SERVER, client.conf).
std::optional<int> sendLabel(const QString &queue, const QSizeF &sizeMm,
                             const QList<LabelField> &fields, const QString &title, QString &error);
