#pragma once
// The program speaks the language of the system locale where it carries a translation of its own
// texts, and English otherwise (English forms of counts come from a translation file too). Qt's own texts (Yes, No, Cancel, the calendar) follow the same
// language from the translations installed with Qt.

#include <QLocale>

class QCoreApplication;

// Installs the translators on app, which owns them; call before the first text is made. Safe to
// call again on a new application object.
void installTranslations(QCoreApplication &app, const QLocale &locale = QLocale::system());
