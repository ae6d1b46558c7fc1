#pragma once
// The access password and its file "VeltraSetCalibDate.psw" in the program folder.
//
// 81 bytes: two slots of twenty little-endian signed 16-bit values (character code - 11 - i for
// position i), then the byte "0". Other installations read and write the same bytes. Characters
// are Latin-1 codes. An empty first slot means no protection.
//
// The store shows nothing: ReadPassword and WritePassword return what went wrong with the file's
// path and the system's reason, and the front ends tell the user (PasswordFileResult::text).

#include "programpaths.h"

#include <QString>

constexpr int MaxPasswordLength = 20;

struct PasswordFileResult
{
    enum class Error { None, Unreadable, InvalidPassword, Unwritable };
    Error error = Error::None;
    QString path;
    // Why the file could not be read or written, in the system's words.
    QString reason;

    bool ok() const { return error == Error::None; }
    // The message for the user; "" when nothing went wrong.
    QString text() const;
};

class PasswordStore
{
public:
    // The file in the program folder (PrgPath) as it is when the store is made.
    PasswordStore();
    explicit PasswordStore(QString path);

    // Loads both slots; a missing, short or damaged file gives empty slots. At most 81 bytes are
    // read. A file that is there but cannot be read (no permission, a folder, a read error)
    // leaves the slots as they were and gives Unreadable: the caller must then not go on with
    // what the password protects.
    [[nodiscard]] PasswordFileResult ReadPassword();
    // Sets both slots from the bytes of a password file, as ReadPassword does with what it read.
    void loadBytes(const QByteArray &bytes);
    // Saves both slots atomically, readable by the owner only. Refuses a password over 20
    // characters or with a character the file cannot hold (InvalidPassword, the file is not
    // touched); Unwritable when the file cannot be written.
    [[nodiscard]] PasswordFileResult WritePassword() const;

    // Slot 0, the access password; "" when none is set.
    const QString &password() const { return m_slots[0]; }
    void setPassword(const QString &password) { m_slots[0] = password; }
    // Slot 1: loaded and saved with slot 0, not used otherwise.
    const QString &secondSlot() const { return m_slots[1]; }
    void setSecondSlot(const QString &text) { m_slots[1] = text; }

    bool isSet() const { return !m_slots[0].isEmpty(); }
    // Exact: case and spaces count.
    bool matches(const QString &typed) const { return typed == m_slots[0]; }

private:
    QString m_path;
    QString m_slots[2];
};

// The characters a password may hold: Latin-1 codes 1 to 255 (NUL ends a slot in the file).
bool isPasswordCharacter(QChar c);
