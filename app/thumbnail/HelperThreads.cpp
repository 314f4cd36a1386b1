#include "app/thumbnail/HelperThreads.h"

#include <algorithm>
#include <system_error>

namespace pellix {

HelperThreads& HelperThreads::Shared() {
    static HelperThreads shared(7);
    return shared;
}

HelperThreads::HelperThreads(unsigned most) : most_(most) {}

HelperThreads::~HelperThreads() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    wake_.notify_all();
    for (auto& t : threads_) t.join();
}

unsigned HelperThreads::Started() {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<unsigned>(threads_.size());
}

// Called with lock_ held; new threads wait for it before they look for work.
void HelperThreads::Grow(unsigned wanted) {
    while (threads_.size() < std::min(wanted, most_)) {
        try {
            threads_.emplace_back([this] { Serve(); });
        } catch (const std::system_error&) {
            return;  // fewer helpers: the caller takes what they would have done
        }
    }
}

void HelperThreads::Serve() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        wake_.wait(hold, [this] { return stop_ || seats_ > 0; });
        if (stop_) return;
        --seats_;
        ++running_;
        const std::function<void()>* job = job_;
        hold.unlock();
        (*job)();
        hold.lock();
        if (--running_ == 0) done_.notify_all();
    }
}

void HelperThreads::Run(unsigned helpers, const std::function<void()>& work) {
    if (helpers == 0 || busy_.exchange(true)) {
        work();
        return;
    }
    struct Free {
        std::atomic<bool>& busy;
        ~Free() { busy.store(false); }
    } free{busy_};
    {
        std::lock_guard<std::mutex> hold(lock_);
        Grow(helpers);
        job_ = &work;
        seats_ = std::min(helpers, static_cast<unsigned>(threads_.size()));
    }
    wake_.notify_all();
    work();
    std::unique_lock<std::mutex> hold(lock_);
    seats_ = 0;  // a helper woken only now must not start a job that is over
    done_.wait(hold, [this] { return running_ == 0; });
    job_ = nullptr;
}

}  // namespace pellix
