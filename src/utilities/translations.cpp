#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void installTranslations(QCoreApplication &app, const QLocale &locale)
{
    // Compiled from i18n/*.ts into the resources at build time. English, the texts' own language,
    // where there is no translation: its file gives the forms of counts ("1 day", "2 days").
    auto *own = new QTranslator(&app);
    const auto load = [own](const QLocale &language) {
        return own->load(language, QStringLiteral("veltra"), QStringLiteral("_"),
                         QStringLiteral(":/i18n"));
    };
    if (!load(locale) && !load(QLocale(QLocale::English))) {
        delete own;
        return;
    }
    QCoreApplication::installTranslator(own);
    // Qt's texts in the language our translation was chosen for, so the two never mix.
    auto *qt = new QTranslator(&app);
    if (qt->load(QLocale(own->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}
