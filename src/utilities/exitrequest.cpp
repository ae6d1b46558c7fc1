#include "exitrequest.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t requested = 0;

} // namespace

void noteExitRequest() noexcept
{
    requested = 1;
}

bool exitRequested() noexcept
{
    return requested != 0;
}
