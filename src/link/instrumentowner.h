#pragma once
// The one owner of the instrument: every request that talks to it (identify, read, probe, search,
// open a port) runs here, one at a time, on a thread of its own, so the thread that asks, the
// window's, never waits for the instrument.
//
// Contract:
// - request(receiver, job, done): `job` runs on the owner's thread with the link and returns a
//   value; `done` gets that value on the owner's own thread (the one that made the owner) through
//   its event loop, unless `receiver` is gone by then. Requests run in the order they came, never
//   interleaved: one that comes while another runs waits for it.
// - On the owner's thread the link's waits block that thread in short slices (BlockingWaits):
//   no event loop runs inside an exchange.
// - The link and its serial control are lent to the owner's thread for each request and come
//   back before `done` runs, so code that has not become a request yet uses the link directly
//   whenever busy() is false, as before.
// - cancel() stops the running request within a slice (its waits end, nothing more is sent; its
//   `done` still comes) and drops the queued ones (their `done` never comes). stop() does the
//   same and waits until the running request has ended, its `done` dropped too: for closing the
//   port at the end.
// - A parity error inside a request is asked on the owner's own thread through the decision given
//   to setParityDecision(); the request waits for the answer, or until it is stopped (then the
//   transfer fails).

#include "link.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class InstrumentOwner : public QObject
{
    Q_OBJECT
public:
    // The link and its serial control must have no parent (they move between threads) and
    // outlive the owner.
    explicit InstrumentOwner(Link &link, QObject *parent = nullptr);
    ~InstrumentOwner() override;

    template<typename Job, typename Done> void request(QObject *receiver, Job job, Done done)
    {
        using Result = std::invoke_result_t<Job &, Link &>;
        auto result = std::make_shared<std::optional<Result>>();
        enqueue(
            receiver,
            [job = std::move(job), result](Link &link) mutable { result->emplace(job(link)); },
            [done = std::move(done), result]() mutable { done(std::move(**result)); });
    }

    // Runs `action` on the owner's own thread, through its event loop, unless `receiver` is gone
    // by then: how a job reports progress. Safe to call from a job.
    void report(const QPointer<QObject> &receiver, std::function<void()> action);

    bool busy() const { return m_running; }
    void cancel();
    void stop();

    // Asked on this thread when a transfer ends in a parity error; also the link's decision
    // while no request runs.
    void setParityDecision(std::function<ParityDecision()> decide);

signals:
    // The last queued request has ended and its `done` has run.
    void idle();

private:
    struct Request
    {
        QPointer<QObject> receiver;
        std::function<void(Link &)> job;
        std::function<void()> done;
    };

    void enqueue(QObject *receiver, std::function<void(Link &)> job, std::function<void()> done);
    void startNext();
    // On the owner's thread: runs the request and hands the link back.
    void runOnWorker(const Request &request, int generation,
                     const std::function<ParityDecision()> &decide);
    void finished(const Request &request, int generation);
    ParityDecision askParity();

    Link &m_link;
    QThread m_thread;
    QObject *m_worker = nullptr;
    std::deque<Request> m_queue;
    bool m_running = false;
    // Requests of an earlier generation were stopped: their `done` is dropped.
    int m_generation = 0;
    std::atomic_bool m_stop{false};
    // The link is back on the owner's own thread.
    std::atomic_bool m_returned{true};
    std::function<ParityDecision()> m_decide;
};
