#include "labelsettings.h"

#include "inifile.h"

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
    settings.address = read(QStringLiteral("Certificate"), "Address");
    settings.requireRelease = read(QStringLiteral("Certificate"), "RequireRelease") == u'1';
    return settings;
}
