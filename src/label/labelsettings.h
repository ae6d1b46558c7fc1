#pragma once
// What a label and a certificate take from the settings file:
//
//   [Label]
//   WidthMm=62            ; the label's size; 62 x 29 mm is Brother QL's 62 mm tape
//   HeightMm=29
//   Lab=Example Calibration Lab
//   Printer=QL-800        ; the print queue; empty: ask
//   [Certificate]
//   Address=1 Main Street, Springfield
//   RequireRelease=1      ; no certificate of an entry a second person has not released
//   SigningCertificate=lab-cert.pem ; both set: certificates are signed; a relative path is
//   SigningKey=lab-key.pem          ; taken from the settings file's folder

#include "pdfsigner.h"

#include <QSizeF>
#include <QString>

struct LabelSettings
{
    QSizeF sizeMm{62.0, 29.0};
    QString lab;
    QString printer;
    QString address;
    bool requireRelease = false;
    SigningFiles signing;

    // A size that is no number, or outside 10 to 300 mm, keeps the default.
    static LabelSettings fromSettingsFile(const QString &iniFile);
};
