#pragma once
// The account that runs the program, for the calibration record. The POSIX part lives in
// account_posix.cpp; another platform supplies its own.

#include <QString>

// The process's own user, "unknown" when the system names none.
QString accountName();
