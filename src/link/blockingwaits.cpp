#include "blockingwaits.h"

#include <algorithm>

namespace {

thread_local const std::atomic_bool *t_stop = nullptr;

} // namespace

BlockingWaits::BlockingWaits(const std::atomic_bool &stop) : m_previous(t_stop)
{
    t_stop = &stop;
}

BlockingWaits::~BlockingWaits()
{
    t_stop = m_previous;
}

bool BlockingWaits::active()
{
    return t_stop != nullptr;
}

bool BlockingWaits::stopRequested()
{
    return t_stop != nullptr && t_stop->load();
}

int BlockingWaits::sliceMs(int ms)
{
    return active() ? std::min(ms, SliceMs) : ms;
}
