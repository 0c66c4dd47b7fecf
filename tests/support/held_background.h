#pragma once

#include "lookup_orders.h"

#include <QThreadPool>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>

// Holds the look-up's background sorting before each list it `holds` (every one by default)
// until the test ends, counting the lists that reached the hold; `fail` makes each held list
// fail once let go.
struct HeldBackground {
    std::mutex mutex;
    std::condition_variable released_signal;
    bool released = false;
    std::atomic<int> reached{0};
    bool fail = false;

    explicit HeldBackground(bool fail_it, std::function<bool(int index)> holds = {})
        : fail(fail_it) {
        LookupOrders::set_background_hook_for_testing([this, holds](int index) {
            if (holds && !holds(index)) return;
            ++reached;
            std::unique_lock lock(mutex);
            released_signal.wait(lock, [this] { return released; });
            if (fail) throw std::runtime_error("sorting failed");
        });
    }
    void wait_until_reached() {
        while (reached == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void release() {
        {
            const std::lock_guard lock(mutex);
            released = true;
        }
        released_signal.notify_all();
    }
    ~HeldBackground() {
        release();
        QThreadPool::globalInstance()->waitForDone();
        LookupOrders::set_background_hook_for_testing({});
    }
};
