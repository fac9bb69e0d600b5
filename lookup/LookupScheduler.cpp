// The task scheduler of the lookups.  cpprest's own scheduler runs
// continuations on threads that the Win32 side never set up, where any
// Win32 call crashes; this one only queues, and the queue is drained by the
// lookup workers, threads made by the Win32 side (LookupWorkers.cpp).
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <pplx/pplxtasks.h>

#include "lookup/LookupBoundary.h"

namespace {

struct Work {
    pplx::TaskProc_t proc;
    void* param;
};

class WorkQueue {
public:
    void Push(Work work)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            // Work that comes after the end is dropped with what it holds:
            // the program is on its way out.
            if (!open_) return;
            waiting_.push_back(work);
        }
        ready_.notify_one();
    }

    void Open()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
    }

    void Close()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            open_ = false;
            waiting_.clear();
        }
        ready_.notify_all();
    }

    // The next work, or false once the queue is closed.
    bool Take(Work& work)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return !open_ || !waiting_.empty(); });
        if (!open_) return false;
        work = waiting_.front();
        waiting_.pop_front();
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Work> waiting_;
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
    void schedule(pplx::TaskProc_t proc, void* param) override { Queue().Push({proc, param}); }
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

void RunLookupQueue()
{
    Work work;
    while (Queue().Take(work)) {
        try {
            work.proc(work.param);
        } catch (...) {
            // A task records its own failures; nothing may end the worker.
        }
    }
}
