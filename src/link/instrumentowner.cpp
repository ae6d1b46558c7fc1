#include "instrumentowner.h"

#include "blockingwaits.h"

#include <utility>

InstrumentOwner::InstrumentOwner(Link &link, QObject *parent)
    : QObject(parent),
      m_link(link),
      m_worker(new QObject)
{
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("instrument"));
    m_thread.start();
}

InstrumentOwner::~InstrumentOwner()
{
    stop();
    m_thread.quit();
    m_thread.wait();
}

void InstrumentOwner::enqueue(QObject *receiver, std::function<void(Link &)> job,
                              std::function<void()> done)
{
    m_queue.push_back({receiver, std::move(job), std::move(done)});
    startNext();
}

void InstrumentOwner::startNext()
{
    if (m_running)
        return;
    if (m_queue.empty()) {
        emit idle();
        return;
    }
    const Request request = std::move(m_queue.front());
    m_queue.pop_front();
    m_running = true;
    m_stop = false;
    m_returned = false;
    // Only the thread an object lives on may give it away: the worker hands them back itself.
    m_link.Comm1.moveToThread(&m_thread);
    m_link.moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        m_worker,
        [this, request, generation = m_generation, decide = m_decide] {
            runOnWorker(request, generation, decide);
        },
        Qt::QueuedConnection);
}

void InstrumentOwner::runOnWorker(const Request &request, int generation,
                                  const std::function<ParityDecision()> &decide)
{
    {
        const BlockingWaits blocking(m_stop);
        m_link.setParityDecision([this] { return askParity(); });
        request.job(m_link);
        m_link.setParityDecision(decide);
    }
    m_link.moveToThread(thread());
    m_link.Comm1.moveToThread(thread());
    m_returned = true;
    QMetaObject::invokeMethod(
        this, [this, request, generation] { finished(request, generation); }, Qt::QueuedConnection);
}

void InstrumentOwner::finished(const Request &request, int generation)
{
    // A stopped request has been taken care of by stop().
    if (generation != m_generation)
        return;
    m_running = false;
    if (request.receiver)
        request.done();
    startNext();
}

void InstrumentOwner::report(const QPointer<QObject> &receiver, std::function<void()> action)
{
    QMetaObject::invokeMethod(
        this,
        [receiver, action = std::move(action)] {
            if (receiver)
                action();
        },
        Qt::QueuedConnection);
}

void InstrumentOwner::cancel()
{
    m_queue.clear();
    if (m_running)
        m_stop = true;
}

void InstrumentOwner::stop()
{
    m_queue.clear();
    ++m_generation;
    if (!m_running)
        return;
    m_stop = true;
    // The running request's waits look at the flag after each slice; no event may run here.
    while (!m_returned)
        QThread::msleep(1);
    m_running = false;
}

void InstrumentOwner::setParityDecision(std::function<ParityDecision()> decide)
{
    m_decide = std::move(decide);
    if (!m_running)
        m_link.setParityDecision(m_decide);
}

ParityDecision InstrumentOwner::askParity()
{
    struct Answer
    {
        std::atomic_bool ready{false};
        ParityDecision decision = ParityDecision::Fail;
    };
    const auto answer = std::make_shared<Answer>();
    QMetaObject::invokeMethod(
        this,
        [this, answer] {
            if (m_decide)
                answer->decision = m_decide();
            answer->ready = true;
        },
        Qt::QueuedConnection);
    while (!answer->ready) {
        if (m_stop)
            return ParityDecision::Fail;
        QThread::msleep(BlockingWaits::SliceMs);
    }
    return answer->decision;
}
