#pragma once
// The link's trace: every frame sent and received, and why a port did not open. Off by default;
// QT_LOGGING_RULES="veltra.link.debug=true" turns it on.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
