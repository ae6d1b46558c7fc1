#pragma once
// What a label shows of a verified calibration, in the order it shows it.

#include "recordentry.h"

#include <QList>

struct LabelField
{
    QString key; // the QR code's name for it ("S/N")
    QString caption; // printed before the value; empty for the model, certificate and lab
    QString value;
    bool printed = true; // false: in the QR code only
};

// Model, serial number, calibration date, expiration date (when one was written), technician,
// certificate number and the lab's name; fields without a value are left out. The QR code also
// holds the first 16 hex digits of the entry's hash, to compare with its certificate.
QList<LabelField> labelFields(const RecordEntry &entry, const QString &lab);

// The name of a label's print job: "Calibration label VC-2026-000123".
QString labelTitle(const RecordEntry &entry);

// The first hex digits of an entry's hash, as the label and the certificate show them.
QString shortHash(const RecordEntry &entry);

// The QR code's text: one "key: value" line per field.
QString qrText(const QList<LabelField> &fields);
