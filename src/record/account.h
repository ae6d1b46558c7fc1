#pragma once
// The person behind the account that runs the program, as the system knows them.

#include <QString>

// The full name of the account's user; empty when the system keeps none.
QString accountFullName();
