#include "recordrelease.h"

#include "account.h"
#include "calibrecord.h"

Releaser Releaser::thisAccount()
{
    return Releaser{accountName(), personName()};
}

QString releaseRefusal(const RecordEntry &entry, const Releaser &by)
{
    if (!entry.releasedBy.isEmpty())
        return CalibRecord::tr("entry %1 was already released by %2 on %3")
            .arg(QString::number(entry.id), entry.releasedBy,
                 entry.releasedAt.toString(Qt::ISODate));
    if (entry.outcome != RecordOutcome::Verified)
        return CalibRecord::tr("entry %1 was not verified (%2): only a verified calibration is "
                               "released")
            .arg(QString::number(entry.id), outcomeText(entry.outcome));
    if (entry.account == by.account)
        return CalibRecord::tr("entry %1 was written by this account (%2): a second person "
                               "releases it")
            .arg(QString::number(entry.id), by.account);
    return {};
}

QString releaseText(const RecordEntry &entry)
{
    if (entry.releasedBy.isEmpty())
        return CalibRecord::tr("not released");
    return CalibRecord::tr("Released by %1 on %2")
        .arg(entry.releasedBy, dateText(entry.releasedAt.date()));
}
