#include "labelfields.h"

#include "labeltext.h"

QList<LabelField> labelFields(const RecordEntry &entry, const QString &lab)
{
    const QList<LabelField> all{
        {QStringLiteral("Model"), QString(), entry.model},
        {QStringLiteral("S/N"), LabelText::tr("S/N"), entry.serial},
        {QStringLiteral("Calibrated"), LabelText::tr("Calibrated"),
         dateText(entry.calibrationAsked)},
        {QStringLiteral("Due"), LabelText::tr("Due"), dateText(entry.expirationAsked)},
        {QStringLiteral("By"), LabelText::tr("By"), entry.technician},
        {QStringLiteral("Certificate"), QString(), entry.certificate},
        {QStringLiteral("Lab"), QString(), lab},
        {QStringLiteral("Hash"), QString(), shortHash(entry), false},
    };
    QList<LabelField> shown;
    for (const LabelField &field : all) {
        if (!field.value.trimmed().isEmpty())
            shown << LabelField{field.key, field.caption, field.value.simplified(), field.printed};
    }
    return shown;
}

QString shortHash(const RecordEntry &entry)
{
    return entry.hash.left(16);
}

QString qrText(const QList<LabelField> &fields)
{
    QStringList lines;
    for (const LabelField &field : fields)
        lines << field.key + QStringLiteral(": ") + field.value;
    return lines.join(QLatin1Char('\n'));
}

QString labelTitle(const RecordEntry &entry)
{
    return QStringLiteral("Calibration label %1").arg(entry.certificate);
}
