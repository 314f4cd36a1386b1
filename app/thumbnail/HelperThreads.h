#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace pellix {

// Threads kept for the life of their owner that help one caller at a time run
// a job: starting threads for every pass of every thumbnail cost more than the
// pass itself under Wine.
class HelperThreads {
public:
    // The process's own set, of up to 7 threads, started as jobs first need them.
    static HelperThreads& Shared();

    explicit HelperThreads(unsigned most);
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    // Runs work on the calling thread and on up to `helpers` kept threads at
    // once, and returns when every run of it has returned. work must not
    // throw. A caller that finds the threads busy with another job, or calls
    // from inside a job, runs work alone.
    void Run(unsigned helpers, const std::function<void()>& work);

    // Threads started so far.
    unsigned Started();

private:
    void Grow(unsigned wanted);
    void Serve();

    const unsigned most_;
    std::atomic<bool> busy_{false};
    std::mutex lock_;
    std::condition_variable wake_, done_;
    const std::function<void()>* job_ = nullptr;
    unsigned seats_ = 0;    // helpers that may still join the job
    unsigned running_ = 0;  // helpers inside the job
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace pellix
