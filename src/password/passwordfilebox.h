#pragma once
// How the window and the password dialogs tell that the password file could not be read or
// saved: one box, through ui().

#include "passwordstore.h"

// Shows the result's message (stop icon, OK) when it holds an error; true when it holds none.
bool passwordFileOk(const PasswordFileResult &result);
