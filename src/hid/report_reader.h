// The reader thread of one device and its hand-over to the UI thread.
//
// The thread reads one input report at a time, has the handler run on the UI thread
// through the executor and waits until it has run before reading on. Stop() (UI thread)
// wakes a reader that waits for the UI thread instead of waiting for it, so releasing a
// device never deadlocks, also when it is released from inside its own handler or a
// nested event loop; a hand-over still queued after Stop() does nothing.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "hid/hid_backend.h"
#include "hid/ui_executor.h"

namespace karvo {

class ReportReader {
  public:
    // Reads one report into `buffer` (at most `capacity` bytes), waiting at most
    // `timeoutMs`. Returns the number of bytes read, 0 when nothing came, -1 on error.
    using ReadFunction =
        std::function<int(std::uint8_t* buffer, std::size_t capacity, int timeoutMs)>;

    // Called on the reader thread after every failed read (a device that is leaving fails
    // its reads until it is released), so the owner can look for a lost device at once.
    using ErrorFunction = std::function<void()>;

    // Longest wait of one read, and the pause after a failed read.
    static constexpr int kReadTimeoutMs = 100;
    static constexpr int kErrorPauseMs = 100;

    // Starts the thread.
    ReportReader(std::shared_ptr<UiExecutor> executor, ReadFunction read, std::size_t capacity,
                 HidDevice::ReportHandler handler, ErrorFunction onReadError = {});
    ~ReportReader();
    ReportReader(const ReportReader&) = delete;
    ReportReader& operator=(const ReportReader&) = delete;

    // Ends the thread and returns once it has ended (within one read timeout). From then
    // on the handler is never called. Idempotent.
    void Stop();

  private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        bool stopRequested = false;
        std::uint64_t handled = 0;  // sequence number of the last report handled
        std::atomic<bool> cancelled{false};
    };

    void Run();

    std::shared_ptr<UiExecutor> executor_;
    ReadFunction read_;
    std::size_t capacity_;
    HidDevice::ReportHandler handler_;
    ErrorFunction onReadError_;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace karvo
