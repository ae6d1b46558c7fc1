#pragma once
// The one way this program replaces a whole file: settings, password, the simulator's state.
//
// The bytes go to a temporary file beside the target, which is renamed over the target only when
// every byte reached it. A full disk or a file-size limit shows at the first write, not at the
// rename, so a failed save leaves the old file exactly as it was.

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Returns an empty text on success, otherwise the system's reason. permissions, when given, are
// the new file's; otherwise a replaced file keeps its own.
QString saveFileAtomically(const QString &path, const QByteArray &bytes,
                           QFileDevice::Permissions permissions = {});
