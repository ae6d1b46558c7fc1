#pragma once
// The account that runs the program and the person behind it, for the calibration record. The
// POSIX part lives in account_posix.cpp; another platform supplies its own (account_other.cpp).

#include <QString>

// The process's own user, "unknown" when the system names none.
QString accountName();
// The full name of the account's user; empty when the system keeps none.
QString accountFullName();
// The person as the record names them: the full name, or the account when the system knows none.
inline QString personName()
{
    const QString name = accountFullName();
    return name.isEmpty() ? accountName() : name;
}
