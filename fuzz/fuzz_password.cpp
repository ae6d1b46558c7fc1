// Arbitrary bytes as the password file. Besides crashes it checks that whatever the file holds,
// each slot comes out as a password the program could have stored: at most 20 characters, each
// one the file can hold.

#include "fuzzrequire.h"
#include "passwordstore.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    PasswordStore store(QString{});
    store.loadBytes(bytes);
    for (const QString &slot : {store.password(), store.secondSlot()}) {
        require(slot.size() <= MaxPasswordLength);
        require(std::all_of(slot.cbegin(), slot.cend(), isPasswordCharacter));
    }
    return 0;
}
