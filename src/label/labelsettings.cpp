#include "labelsettings.h"

#include "inifile.h"

#include <QDir>
#include <QFileInfo>

namespace {

double sizeValue(const QString &text, double defaultMm)
{
    bool ok = false;
    const double mm = text.trimmed().toDouble(&ok);
    return ok && mm >= 10.0 && mm <= 300.0 ? mm : defaultMm;
}

} // namespace

LabelSettings LabelSettings::fromSettingsFile(const QString &iniFile)
{
    LabelSettings settings;
    const QString label = QStringLiteral("Label");
    const auto read = [&](const QString &section, const char *key) {
        return IniFile::readString(iniFile, section, QString::fromLatin1(key), QString()).trimmed();
    };
    settings.sizeMm = QSizeF(sizeValue(read(label, "WidthMm"), settings.sizeMm.width()),
                             sizeValue(read(label, "HeightMm"), settings.sizeMm.height()));
    settings.lab = read(label, "Lab");
    settings.printer = read(label, "Printer");
    const QString certificate = QStringLiteral("Certificate");
    settings.address = read(certificate, "Address");
    const QDir folder = QFileInfo(iniFile).absoluteDir();
    const auto path = [&](const char *key) {
        const QString value = read(certificate, key);
        return value.isEmpty() ? value : folder.filePath(value);
    };
    settings.signing = {path("SigningCertificate"), path("SigningKey")};
    settings.requireRelease = read(certificate, "RequireRelease") == u'1';
    return settings;
}
