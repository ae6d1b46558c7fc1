#include "duecalendar.h"

#include <QUrl>

#include <libical/ical.h>

#include <cstdlib>
#include <memory>

namespace {

icaltimetype dayOf(const QDate &date)
{
    icaltimetype day = icaltime_null_date();
    day.year = date.year();
    day.month = date.month();
    day.day = date.day();
    return day;
}

icalproperty *withDateValue(icalproperty *property)
{
    icalproperty_add_parameter(property, icalparameter_new_value(ICAL_VALUE_DATE));
    return property;
}

} // namespace

QByteArray dueCalendar(const QList<DueEntry> &due, const QDateTime &stamp)
{
    const std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)> calendar(
        icalcomponent_new(ICAL_VCALENDAR_COMPONENT), &icalcomponent_free);
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Veltra//veltra-calib//EN"));
    const icaltimetype now = icaltime_from_timet_with_zone(time_t(stamp.toSecsSinceEpoch()), 0,
                                                           icaltimezone_get_utc_timezone());
    for (const DueEntry &entry : due) {
        const RecordEntry &e = entry.entry;
        const QDate expires = e.expirationAsked;
        // Percent-encoded, a serial number cannot bring characters a calendar might mangle.
        const QByteArray uid = "veltra-due-" + QUrl::toPercentEncoding(e.serial) + '-'
            + expires.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "@veltra-setcalibdate";
        const QByteArray summary =
            QStringLiteral("Calibration expires: %1 %2").arg(e.model, e.serial).trimmed().toUtf8();
        const QByteArray description =
            QStringLiteral("Calibrated %1, certificate %2, by %3")
                .arg(dateText(e.calibrationAsked), e.certificate, e.technician)
                .toUtf8();
        icalcomponent *event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(event, icalproperty_new_uid(uid.constData()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(now));
        icalcomponent_add_property(event, withDateValue(icalproperty_new_dtstart(dayOf(expires))));
        icalcomponent_add_property(
            event, withDateValue(icalproperty_new_dtend(dayOf(expires.addDays(1)))));
        icalcomponent_add_property(event, icalproperty_new_summary(summary.constData()));
        icalcomponent_add_property(event, icalproperty_new_description(description.constData()));
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(calendar.get(), event);
    }
    char *text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray bytes(text);
    std::free(text);
    return bytes;
}
