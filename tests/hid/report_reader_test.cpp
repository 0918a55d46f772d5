#include "hid/report_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "hid/task_queue_executor.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;

// A read function playing back a script: each entry is one read's result (bytes, or
// empty with `result` 0 / -1); after the script, reads time out.
struct ScriptedReads {
    struct Read {
        int result;
        std::vector<std::uint8_t> bytes;
    };
    std::mutex mutex;
    std::deque<Read> script;
    std::atomic<int> calls{0};

    ReportReader::ReadFunction Function() {
        return [this](std::uint8_t* buffer, std::size_t capacity, int timeout) {
            ++calls;
            std::unique_lock<std::mutex> lock(mutex);
            if (script.empty()) {
                lock.unlock();
                std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
                return 0;
            }
            Read r = script.front();
            script.pop_front();
            if (r.result <= 0) return r.result;
            const std::size_t n = std::min(capacity, r.bytes.size());
            std::copy(r.bytes.begin(), r.bytes.begin() + n, buffer);
            return static_cast<int>(n);
        };
    }
};

TEST(ReportReader, HandsEveryNonEmptyReadOverInOrderOnTheUiThread) {
    auto executor = std::make_shared<TaskQueueExecutor>();
    ScriptedReads reads;
    reads.script = {{0, {}}, {3, {1, 2, 3}}, {-1, {}}, {0, {}}, {1, {9}}, {5, {1, 0, 0, 0, 7}}};

    std::vector<std::vector<std::uint8_t>> handled;
    std::vector<int> callsWhenHandled;
    const auto uiThread = std::this_thread::get_id();
    bool otherThread = false;
    ReportReader reader(executor, reads.Function(), 4, [&](const std::uint8_t* r, std::size_t n) {
        if (std::this_thread::get_id() != uiThread) otherThread = true;
        handled.emplace_back(r, r + n);
        callsWhenHandled.push_back(reads.calls.load());
    });
    ASSERT_TRUE(executor->RunUntil([&] { return handled.size() == 3; }, 5s));
    reader.Stop();

    // Cut to the capacity; the empty read and the failed one never reach the handler.
    EXPECT_EQ(handled, (std::vector<std::vector<std::uint8_t>>{{1, 2, 3}, {9}, {1, 0, 0, 0}}));
    EXPECT_FALSE(otherThread);
    // The reader waited for each report to be handled before reading the next.
    EXPECT_EQ(callsWhenHandled, (std::vector<int>{2, 5, 6}));
}

TEST(ReportReader, ReportsEachReadErrorAndPausesInsteadOfSpinning) {
    auto executor = std::make_shared<TaskQueueExecutor>();
    std::atomic<int> calls{0};
    std::atomic<int> errors{0};
    ReportReader reader(
        executor,
        [&](std::uint8_t*, std::size_t, int) {
            ++calls;
            return -1;
        },
        65, [](const std::uint8_t*, std::size_t) {}, [&] { ++errors; });
    std::this_thread::sleep_for(350ms);
    reader.Stop();
    const int after = errors.load();
    // About one read per pause; a spinning reader makes millions.
    EXPECT_GE(calls.load(), 1);
    EXPECT_LE(calls.load(), 20);
    // Every failed read was reported (the last one may meet the stop), none after Stop().
    EXPECT_GE(after, calls.load() - 1);
    EXPECT_LE(after, calls.load());
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(errors.load(), after);
}

TEST(ReportReader, StopEndsAReaderThatIsWaitingInARead) {
    auto executor = std::make_shared<TaskQueueExecutor>();
    ScriptedReads reads;  // every read waits its full timeout
    ReportReader reader(executor, reads.Function(), 65, [](const std::uint8_t*, std::size_t) {});
    std::this_thread::sleep_for(20ms);
    reader.Stop();
    reader.Stop();  // again: nothing happens
    SUCCEED();
}

// A device that streams as fast as it is read.
ReportReader::ReadFunction FastStream() {
    return [](std::uint8_t* buffer, std::size_t capacity, int) {
        std::fill(buffer, buffer + capacity, 0);
        buffer[0] = 1;
        buffer[1] = 2;
        return static_cast<int>(capacity);
    };
}

enum class ReleaseFrom { UiLoop, Handler, NestedLoop };

// Releases a fast-streaming reader a thousand times: from the UI loop while the reader
// waits for a hand-over, from inside its own handler, and from a nested loop (a modal box)
// that a handler opened. No deadlock, and no report handled after the release.
class ReleaseDuringStream : public ::testing::TestWithParam<ReleaseFrom> {};

TEST_P(ReleaseDuringStream, NeverDeadlocksNorHandlesAfterRelease) {
    auto executor = std::make_shared<TaskQueueExecutor>();
    for (int i = 0; i < 1000; ++i) {
        int handled = 0;
        bool released = false;
        int afterRelease = 0;
        std::unique_ptr<ReportReader> reader;
        auto release = [&] {
            reader->Stop();
            released = true;
        };
        reader = std::make_unique<ReportReader>(
            executor, FastStream(), 65, [&](const std::uint8_t*, std::size_t) {
                if (released) ++afterRelease;
                ++handled;
                if (handled != 2 || released) return;
                if (GetParam() == ReleaseFrom::Handler) release();
                if (GetParam() == ReleaseFrom::NestedLoop) {
                    executor->Post(release);
                    executor->RunUntil([&] { return released; }, 5s);
                }
            });
        ASSERT_TRUE(executor->RunUntil([&] { return handled >= 2; }, 5s)) << i;
        if (!released) release();
        // Whatever the reader had posted before it ended runs now, and does nothing.
        executor->RunPending();
        reader.reset();
        executor->RunPending();
        ASSERT_EQ(afterRelease, 0) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(All, ReleaseDuringStream,
                         ::testing::Values(ReleaseFrom::UiLoop, ReleaseFrom::Handler,
                                           ReleaseFrom::NestedLoop));

}  // namespace
}  // namespace karvo
