#include "latin1validator.h"

#include "passwordstore.h"

#include <algorithm>

QValidator::State Latin1Validator::validate(QString &input, int &) const
{
    return std::all_of(input.cbegin(), input.cend(), isPasswordCharacter) ? Acceptable : Invalid;
}
