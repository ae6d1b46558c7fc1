// Who the instrument is: identity, model, firmware version, serial number, battery.

#include "link.h"

#include "settingvalue.h"
#include "texttokens.h"

#include <array>

namespace {

struct ModelType
{
    const char *name;
    qint16 type;
};

// Longer names before the names they contain, so each model gets its own type.
constexpr std::array<ModelType, 18> DeviceTypeOrder{{
    {"BADGE", 1},
    {"Veltra K-40 MV", 15},
    {"Veltra K-40 MLV", 16},
    {"Veltra K-40", 4},
    {"Veltra K60", 8},
    {"Veltra KX", 18},
    {"Veltra TMJ", 22},
    {"Veltra KF", 20},
    {"Veltra K", 2},
    {"Veltra W", 5},
    {"Veltra QST-XT", 9},
    {"Veltra QST-L", 23},
    {"Veltra QST", 3},
    {"Veltra QY", 21},
    {"Veltra Z", 17},
    {"Veltra C70", 7},
    {"Veltra QA300", 12},
    {"Veltra NV", 19},
}};

// The firmware version has always been cut after the first of these names, in this order, even
// where a longer name would fit better ("Veltra K" before "Veltra KX"). Kept: the instruments'
// version texts are laid out for it.
constexpr std::array<const char *, 18> VersionCutOrder{{
    "BADGE",
    "Veltra QA300",
    "Veltra C70",
    "Veltra K-40 MV",
    "Veltra K-40 MLV",
    "Veltra K-40",
    "Veltra K60",
    "Veltra K",
    "Veltra KF",
    "Veltra KX",
    "Veltra TMJ",
    "Veltra W",
    "Veltra QST-XT",
    "Veltra QST",
    "Veltra QST-L",
    "Veltra QY",
    "Veltra Z",
    "Veltra NV",
}};

} // namespace

void Link::InitDeviceTables()
{
    DeviceNameTable = {
        QStringLiteral("Veltra"),
        QStringLiteral("BADGE"),
        QStringLiteral("Veltra K"),
        QStringLiteral("Veltra QST"),
        QStringLiteral("Veltra K-40"),
        QStringLiteral("Veltra W"),
        QStringLiteral("Watchman Veltra K"),
        QStringLiteral("Veltra C70"),
        QStringLiteral("Veltra K60"),
        QStringLiteral("Veltra QST-XT"),
        QString(),
        QString(),
        QStringLiteral("Veltra QA300"),
        QString(),
        QString(),
        QStringLiteral("Veltra K-40 MV"),
        QStringLiteral("Veltra K-40 MLV"),
        QStringLiteral("Veltra Z"),
        QStringLiteral("Veltra KX"),
        QStringLiteral("Veltra NV"),
        QStringLiteral("Veltra KF"),
        QStringLiteral("Veltra QY"),
        QStringLiteral("Veltra TMJ"),
        QStringLiteral("Veltra QST-L"),
        QStringLiteral("Veltra QA300"),
    };
}

QString Link::ReadInstrumentInfo()
{
    if (DoTransfer(QStringLiteral("V"), 0) == -1)
        return QStringLiteral("V");
    ParseIdentity(ResponseText);

    if (DoTransfer(QStringLiteral("Vx"), 0) == -1)
        return QStringLiteral("Vx");
    Instrument.IdentEx = ResponseText;

    if (DoTransfer(QStringLiteral("#R"), 1) == -1)
        return QStringLiteral("#R");
    Instrument.SerialNo = trimSpaces(ResponseText);

    if (DoTransfer(QStringLiteral("Ux"), 1) == -1)
        return QStringLiteral("Ux");
    // The first word in tenths of a volt; a word that is no number reads as -1, so -0.1 volts.
    QString reply = ResponseText;
    Instrument.BattVoltage = GetValue(reply, 0, QStringLiteral(" ")).toDouble() / 10;
    return {};
}

InstrumentInfo Link::ParseIdentity(const QString &reply)
{
    InstrumentInfo parsed;
    parsed.Ident = MapOldModelName(reply);
    parsed.FwVersion = GetFwVersion(parsed.Ident);
    parsed.DeviceType = static_cast<qint16>(GetDeviceType(parsed.Ident));
    Instrument.Ident = parsed.Ident;
    Instrument.FwVersion = parsed.FwVersion;
    Instrument.DeviceType = parsed.DeviceType;
    return parsed;
}

QString MapOldModelName(const QString &text)
{
    QString result = text;
    const auto replace = [&result](QLatin1String oldName, const QString &newName) {
        const qsizetype at = result.indexOf(oldName);
        if (at >= 0)
            result = newName + result.mid(at + oldName.size());
    };
    replace(QLatin1String("MX70B5"), QStringLiteral("Veltra K"));
    replace(QLatin1String("MX70QST"), QStringLiteral("Veltra QST"));
    return result;
}

double GetFwVersion(const QString &text)
{
    QString s = trimSpaces(text);
    for (const char *name : VersionCutOrder) {
        const QLatin1String model(name);
        const qsizetype at = s.indexOf(model);
        if (at >= 0) {
            // The character right after the name (normally a space) goes with it.
            s = s.mid(at + model.size() + 1);
            break;
        }
    }
    const qsizetype lastSpace = s.lastIndexOf(QLatin1Char(' '));
    if (lastSpace >= 0)
        s = s.mid(lastSpace + 1);
    return ExtractNumber(s);
}

int GetDeviceType(const QString &text)
{
    for (const ModelType &model : DeviceTypeOrder) {
        if (text.contains(QLatin1String(model.name)))
            return model.type;
    }
    return 0;
}
