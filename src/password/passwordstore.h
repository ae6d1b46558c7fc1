#pragma once
// The access password and its file "VeltraSetCalibDate.psw" in PrgPath.
//
// 81 bytes: two slots of twenty little-endian signed 16-bit values (character code - 11 - i for
// position i), then the byte "0". Other installations read and write the same bytes. Characters
// are Latin-1 codes. An empty Password[0] means no protection.

#include "programpaths.h"

#include <QString>

extern QString Password[2];
extern QString InputPassword;

constexpr int MaxPasswordLength = 20;

// Loads both slots; a missing, short or damaged file gives empty slots. At most 81 bytes are read.
// A file that is there but cannot be read (no permission, a folder, a read error) leaves the
// slots as they were, shows a message with its path and the reason, and returns false: the
// caller must then not go on with what the password protects.
[[nodiscard]] bool ReadPassword();
// Sets both slots from the bytes of a password file, as ReadPassword does with what it read.
void loadPasswordBytes(const QByteArray &bytes);
// Saves both slots atomically, readable by the owner only. Refuses (with a message) a password
// over 20 characters or with a character the file cannot hold; shows a message when the file
// cannot be written. Returns true when the file now holds both slots.
bool WritePassword();

// The characters a password may hold: Latin-1 codes 1 to 255 (NUL ends a slot in the file).
bool isPasswordCharacter(QChar c);
