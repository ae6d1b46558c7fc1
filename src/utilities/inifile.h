#pragma once
// Reader and writer of initialization files ("[Section]" lines and "key=value" lines).
//
// Section and key names match without regard to case; spaces around keys and values are ignored.
// A read never fails: a missing or unreadable file, a file over 1 MiB, or a missing section or key
// gives the default text; at most 79 characters of a value come back. A write replaces the value
// in place and keeps every other line as it was; it goes to a temporary file that is renamed over
// the old one, so the file is never left half-written.

#include <QString>

namespace IniFile {

constexpr int MaxValueLength = 79;
constexpr qint64 MaxFileSize = qint64{1024} * 1024;

QString readString(const QString &path, const QString &section, const QString &key,
                   const QString &defaultText);
// The same for a file's bytes already in memory (readString reads the file, then this).
QString valueIn(const QByteArray &bytes, const QString &section, const QString &key,
                const QString &defaultText);

// Returns false when the file could not be written; the old file is then unchanged.
bool writeString(const QString &path, const QString &section, const QString &key,
                 const QString &text);

} // namespace IniFile
