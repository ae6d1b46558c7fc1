#include "savefile.h"

#include <QSaveFile>

QString saveFileAtomically(const QString &path, const QByteArray &bytes,
                           QFileDevice::Permissions permissions)
{
    QSaveFile file(path);
    // Unbuffered: with a buffer the bytes would first meet the disk inside commit(), whose failed
    // flush does not stop the rename of an empty temporary file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A file system without permissions (a FAT stick) still takes the file.
    if (permissions)
        file.setPermissions(permissions);
    // A file left uncommitted is removed with its QSaveFile; the old one stays untouched. A short
    // write (the disk filled up, a size limit) gives its reason only on the next try.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return file.errorString();
        done += written;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
