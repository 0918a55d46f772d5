// One conversation with one amplifier: discovery and binding through the HID controller and
// the device link, as the window does, and waiting for replies on the calling thread, which
// is the UI thread of the task queue.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/string_table.h"
#include "cli/exit_status.h"
#include "cli/picked_backend.h"
#include "hid/hid_controller.h"
#include "hid/task_queue_executor.h"
#include "protocol/device_link.h"

namespace karvo::cli {

// Why an amplifier present could not be opened, from the operating system's reason.
enum class OpenProblem { Busy, NotPermitted, Other };
OpenProblem ClassifyOpenFailure(const std::string& reason);

// The hint shown with a refused permission.
extern const char* const kUdevHint;

class DeviceSession : private LinkView {
  public:
    enum class Wait { Done, TimedOut, Stopped, Lost };

    // `streaming`: the settings reply starts the measurement stream (the readout page is the
    // active one); otherwise the session stays on the settings page and nothing streams.
    DeviceSession(HidBackend& backend, std::shared_ptr<TaskQueueExecutor> executor,
                  std::optional<std::string> path, std::chrono::milliseconds timeout,
                  const std::atomic<bool>* stop, bool streaming);
    ~DeviceSession() override;

    // Finds and binds the amplifier, then waits for its identification and its settings.
    // kExitOk, or the exit status with `message` saying why.
    int Connect(std::string& message);

    DeviceLink& Link() { return link_; }
    const LinkState& State() const { return link_.State(); }
    const std::string& DevicePath() const { return path_; }
    std::chrono::milliseconds Timeout() const { return timeout_; }

    // How many accepted replies of `code` have come so far.
    int Replies(std::uint8_t code) const { return replies_[code]; }
    // Data bytes of the last accepted reply of `code` (from the reply code on).
    const std::vector<std::uint8_t>& LastReply(std::uint8_t code) const { return last_[code]; }

    // Runs the hand-over until one more reply of `code` than `before` has come. Lost: the
    // amplifier left (its reads failed and it is no longer present).
    Wait WaitForReply(std::uint8_t code, int before);
    Wait WaitForReply(std::uint8_t code, int before, std::chrono::steady_clock::time_point until);
    bool StopRequested() const { return stop_ != nullptr && stop_->load(); }

    // "no reply to <what> within <timeout> s".
    std::string TimeoutText(const std::string& what) const;
    // "the amplifier at <path> was unplugged".
    std::string LostText() const;

  private:
    // LinkView: the tool shows nothing of the window's texts.
    void SetConnectionText(const std::string&) override {}
    void SetConnectionColour(std::uint32_t) override {}
    void SetConnectionToolTip(const std::string& text) override {
        if (!text.empty()) openFailure_ = text;
    }
    void SetStatusLine(const std::string&) override {}
    void ShowSettings(const TDeviceSettingsRecord&) override {}
    void UpdateUnitLabels() override {}
    int MessageBox(const std::string&, const std::string&, int) override { return mb::ResultOk; }
    int ActivePageIndex() const override { return streaming_ ? 0 : kSettingsPage; }

    std::shared_ptr<TaskQueueExecutor> executor_;
    std::chrono::milliseconds timeout_;
    const std::atomic<bool>* stop_;
    bool streaming_;
    std::optional<std::string> wantedPath_;
    HidBackend& inner_;
    PickedBackend backend_;
    StringTable strings_;
    DeviceLink link_;
    std::unique_ptr<HidController> controller_;
    std::string openFailure_;
    std::string path_;
    std::array<int, 256> replies_{};
    std::array<std::vector<std::uint8_t>, 256> last_{};
};

}  // namespace karvo::cli
