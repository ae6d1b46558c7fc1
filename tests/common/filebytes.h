#pragma once
// The whole content of a file, for tests that compare what a file holds or lay one out.

#include <QByteArray>
#include <QFile>
#include <QString>

// What the file at path holds; whenUnreadable where it cannot be opened (a missing file).
inline QByteArray fileBytes(const QString &path, const QByteArray &whenUnreadable = {})
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : whenUnreadable;
}

// Replaces the file at path with bytes; false when it could not be written whole.
inline bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
