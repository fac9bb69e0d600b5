// The task scheduler of the lookups.  cpprest's own scheduler runs
// continuations on threads that the Win32 side never set up, where any
// Win32 call crashes; this one only queues, and the queue is drained by the
// lookup workers, threads made by the Win32 side (LookupWorkers.cpp).
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <pplx/pplxtasks.h>

#include "lookup/LookupBoundary.h"

namespace {

using Work = std::function<void()>;
using Clock = std::chrono::steady_clock;

class WorkQueue {
public:
    void Push(Work work) { Add(std::move(work), nullptr); }
    void PushLater(Clock::time_point due, Work work) { Add(std::move(work), &due); }

    void Open()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
    }

    // What is dropped goes once the lock is released: it may hold tasks.
    void Close()
    {
        std::deque<Work> dropped;
        std::multimap<Clock::time_point, Work> droppedLater;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            open_ = false;
            dropped.swap(waiting_);
            droppedLater.swap(later_);
        }
        ready_.notify_all();
    }

    // The next work, due now, or false once the queue is closed.
    bool Take(Work& work)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (!open_) return false;
            if (!waiting_.empty()) {
                work = std::move(waiting_.front());
                waiting_.pop_front();
                return true;
            }
            if (!later_.empty() && later_.begin()->first <= Clock::now()) {
                work = std::move(later_.begin()->second);
                later_.erase(later_.begin());
                return true;
            }
            if (later_.empty()) ready_.wait(lock);
            else ready_.wait_until(lock, later_.begin()->first);
        }
    }

private:
    void Add(Work work, const Clock::time_point* due)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            // Work that comes after the end is dropped with what it holds:
            // the program is on its way out.
            if (!open_) return;
            if (due) later_.emplace(*due, std::move(work));
            else waiting_.push_back(std::move(work));
        }
        // A waiting runner looks again at what is due first.
        ready_.notify_one();
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Work> waiting_;
    std::multimap<Clock::time_point, Work> later_;
    bool open_ = false;
};

// Never destroyed: cpprest's network threads may still hand over work while
// the process ends.
WorkQueue& Queue()
{
    static WorkQueue* queue = new WorkQueue;
    return *queue;
}

class QueueScheduler : public pplx::scheduler_interface {
public:
    // Runs on cpprest's threads: nothing here may call Win32.
    void schedule(pplx::TaskProc_t proc, void* param) override
    {
        Queue().Push([proc, param] { proc(param); });
    }
};

}  // namespace

void InstallLookupScheduler()
{
#if defined(_MSC_VER) && !CPPREST_FORCE_PPLX
    // There the tasks are the Concurrency Runtime's, whose threads are
    // ordinary Windows threads; the queue then simply stays empty.
#else
    static std::once_flag installed;
    std::call_once(installed, [] { pplx::set_ambient_scheduler(std::make_shared<QueueScheduler>()); });
#endif
}

void OpenLookupQueue()
{
    Queue().Open();
}

void CloseLookupQueue()
{
    Queue().Close();
}

void RunLookupLater(std::chrono::milliseconds delay, std::function<void()> work)
{
    Queue().PushLater(Clock::now() + delay, std::move(work));
}

void RunLookupQueue()
{
    Work work;
    while (Queue().Take(work)) {
        try {
            work();
        } catch (...) {
            // A task records its own failures; nothing may end the worker.
        }
        work = nullptr;  // what it holds goes now, not with the next work
    }
}
