#pragma once
// What a fuzz target checks beyond crashes: a broken promise aborts, so libFuzzer keeps the input.

#include <cstdlib>

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}
