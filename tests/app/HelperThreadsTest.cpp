#include "app/thumbnail/HelperThreads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace pellix {
namespace {

// Counts the threads that entered a job; each waits until `expected` have
// arrived, so only a job really shared by that many threads finishes early.
class Meeting {
public:
    explicit Meeting(size_t expected) : expected_(expected) {}
    void Arrive() {
        std::unique_lock<std::mutex> hold(lock_);
        ids_.insert(std::this_thread::get_id());
        all_.notify_all();
        all_.wait_for(hold, std::chrono::seconds(10), [this] { return ids_.size() >= expected_; });
    }
    std::set<std::thread::id> Ids() {
        std::lock_guard<std::mutex> hold(lock_);
        return ids_;
    }

private:
    size_t expected_;
    std::mutex lock_;
    std::condition_variable all_;
    std::set<std::thread::id> ids_;
};

TEST(HelperThreads, HelpersJoinTheCallerAndAreKeptForTheNextJob) {
    HelperThreads threads(7);
    Meeting first(4);
    threads.Run(3, [&] { first.Arrive(); });
    std::set<std::thread::id> ids = first.Ids();
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids.count(std::this_thread::get_id()), 1u);
    EXPECT_EQ(threads.Started(), 3u);

    Meeting second(4);
    threads.Run(3, [&] { second.Arrive(); });
    EXPECT_EQ(second.Ids(), ids);
    EXPECT_EQ(threads.Started(), 3u);
}

TEST(HelperThreads, NeverMoreHelpersThanAskedOrAllowed) {
    HelperThreads threads(2);
    std::mutex lock;
    std::set<std::thread::id> ids;
    auto note = [&] {
        std::lock_guard<std::mutex> hold(lock);
        ids.insert(std::this_thread::get_id());
    };
    threads.Run(0, note);
    EXPECT_EQ(ids, std::set<std::thread::id>{std::this_thread::get_id()});
    EXPECT_EQ(threads.Started(), 0u);

    Meeting meeting(3);
    threads.Run(5, [&] { meeting.Arrive(); });
    EXPECT_EQ(meeting.Ids().size(), 3u);
    EXPECT_EQ(threads.Started(), 2u);
}

TEST(HelperThreads, EveryRunHasReturnedWhenRunReturns) {
    HelperThreads threads(7);
    for (int round = 0; round < 200; ++round) {
        std::atomic<int> inside{0}, finished{0};
        threads.Run(7, [&] {
            ++inside;
            std::this_thread::yield();
            ++finished;
        });
        EXPECT_EQ(inside.load(), finished.load()) << "round " << round;
    }
}

TEST(HelperThreads, ACallFromInsideAJobOrWhileBusyRunsAlone) {
    HelperThreads threads(3);
    std::atomic<int> nestedAlone{0};
    threads.Run(3, [&] {
        std::set<std::thread::id> ids;
        threads.Run(3, [&] { ids.insert(std::this_thread::get_id()); });
        if (ids == std::set<std::thread::id>{std::this_thread::get_id()}) ++nestedAlone;
    });
    EXPECT_GE(nestedAlone.load(), 1);

    // Two callers at once: both jobs are done, each at least by its caller.
    std::atomic<int> a{0}, b{0};
    std::thread other([&] {
        for (int i = 0; i < 100; ++i) threads.Run(3, [&] { ++b; });
    });
    for (int i = 0; i < 100; ++i) threads.Run(3, [&] { ++a; });
    other.join();
    EXPECT_GE(a.load(), 100);
    EXPECT_GE(b.load(), 100);
}

}  // namespace
}  // namespace pellix
