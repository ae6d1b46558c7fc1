#pragma once
// The link's waits on the instrument owner's thread (instrumentowner.h). There a wait blocks the
// thread instead of sleeping in the event loop, so no event (a queued request among them) runs
// inside an exchange, and it blocks in short slices, after each of which it looks whether the
// owner asked the request to stop. A stopped request sends nothing more and its waits end like a
// time limit that has passed.

#include <atomic>

class BlockingWaits
{
public:
    // The waits of the link on the calling thread block and obey `stop` while this object lives.
    explicit BlockingWaits(const std::atomic_bool &stop);
    ~BlockingWaits();
    BlockingWaits(const BlockingWaits &) = delete;
    BlockingWaits &operator=(const BlockingWaits &) = delete;

    // Whether the link's waits on the calling thread block.
    static bool active();
    // Whether the request running on the calling thread was asked to stop.
    static bool stopRequested();
    // The longest a blocking wait sleeps of `ms` before it looks at the stop flag again; `ms`
    // itself outside an owner's thread.
    static int sliceMs(int ms);

    // Short enough that a stop (the dialog's Cancel, the window's close) is seen at once.
    static constexpr int SliceMs = 20;

private:
    const std::atomic_bool *m_previous;
};
