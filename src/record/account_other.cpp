#include "account.h"

// Systems without a password database keep no full name the program could ask for.
QString accountFullName()
{
    return {};
}
