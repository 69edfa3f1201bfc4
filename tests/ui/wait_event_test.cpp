// The loop's wait: it sleeps, and another thread's waker ends the sleep at once.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ui/gui.h"

namespace orv::ui {
namespace {

using namespace std::chrono_literals;

TEST(WaitEventTest, AWakerOnAnotherThreadEndsTheWait) {
    Gui gui;
    const std::function<void()> wake = WakerOf(gui);
    std::atomic<bool> called{false};
    std::thread other([&] {
        std::this_thread::sleep_for(50ms);
        called = true;
        wake();
    });
    const auto start = std::chrono::steady_clock::now();
    // Unrelated events may end a wait early; a lost wake would hold it for 10 s.
    while (!called)
        WaitEvent(gui, 10'000);
    const auto took = std::chrono::steady_clock::now() - start;
    other.join();
    EXPECT_LT(took, 5s);
}

}  // namespace
}  // namespace orv::ui
