#include "cli/device_session.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

namespace karvo::cli {

const char* const kUdevHint =
    "On Linux the amplifier's hidraw node is readable by root only unless a udev rule grants "
    "access: install dist/udev/70-karvo.rules (\"sudo cmake --install <build folder>\" puts it "
    "into lib/udev/rules.d, or copy it to /etc/udev/rules.d), run \"sudo udevadm control "
    "--reload && sudo udevadm trigger\" and plug the amplifier in again.";

namespace {

constexpr auto kSlice = std::chrono::milliseconds(50);

bool Contains(const std::string& text, const char* part) {
    return part != nullptr && *part != 0 && text.find(part) != std::string::npos;
}

}  // namespace

OpenProblem ClassifyOpenFailure(const std::string& reason) {
    if (Contains(reason, std::strerror(EBUSY))) return OpenProblem::Busy;
    if (Contains(reason, std::strerror(EACCES)) || Contains(reason, std::strerror(EPERM))) {
        return OpenProblem::NotPermitted;
    }
    return OpenProblem::Other;
}

DeviceSession::DeviceSession(HidBackend& backend, std::shared_ptr<TaskQueueExecutor> executor,
                             std::optional<std::string> path, std::chrono::milliseconds timeout,
                             const std::atomic<bool>* stop, bool streaming)
    : executor_(std::move(executor)),
      timeout_(timeout),
      stop_(stop),
      streaming_(streaming),
      wantedPath_(path),
      inner_(backend),
      backend_(backend, std::move(path)),
      link_(*this, strings_) {
    strings_.SetLanguage(StringTable::kEnglish);
    link_.SetReplyObserver([this](std::uint8_t code, const std::uint8_t* data, std::size_t size) {
        ++replies_[code];
        last_[code].assign(data, data + size);
    });
}

DeviceSession::~DeviceSession() {
    // No more notices, then the readers end before the link and the backend they report to.
    inner_.SetChangeListener({});
    if (controller_) controller_->ReleaseAll();
    controller_.reset();
    executor_->DropPending();
}

int DeviceSession::Connect(std::string& message) {
    std::vector<HidDeviceInfo> present;
    try {
        present = inner_.Enumerate();
    } catch (...) {
        present.clear();
    }
    std::vector<HidDeviceInfo> amplifiers;
    for (const auto& d : present) {
        if (d.Product == HidController::kAmplifierName) amplifiers.push_back(d);
    }
    if (wantedPath_) {
        const auto it =
            std::find_if(amplifiers.begin(), amplifiers.end(),
                         [&](const HidDeviceInfo& d) { return d.Path == *wantedPath_; });
        if (it == amplifiers.end()) {
            message = "no amplifier at " + *wantedPath_;
            return kExitNoDevice;
        }
    } else if (amplifiers.empty()) {
        message = "no amplifier found (no HID device named \"KARVO\")";
        return kExitNoDevice;
    } else if (amplifiers.size() > 1) {
        std::ostringstream text;
        text << "several amplifiers found; pick one with --device PATH:";
        for (const auto& d : amplifiers) text << "\n  " << d.Path;
        message = text.str();
        return kExitUsage;
    }
    path_ = wantedPath_ ? *wantedPath_ : amplifiers.front().Path;

    controller_ = std::make_unique<HidController>(backend_, link_);
    // A device whose reads fail may be leaving: look at what is present, on this thread.
    std::weak_ptr<TaskQueueExecutor> executor = executor_;
    inner_.SetChangeListener([this, executor] {
        if (auto e = executor.lock()) {
            e->Post([this] {
                if (controller_) controller_->CheckForChanges();
            });
        }
    });
    controller_->JvHidDeviceController1DeviceChange();
    if (!link_.State().Connected) {
        const std::string reason = openFailure_.empty() ? "unknown reason" : openFailure_;
        switch (ClassifyOpenFailure(openFailure_)) {
            case OpenProblem::Busy:
                message = "the amplifier at " + path_ + " is busy (" + reason +
                          "); close the program that uses it";
                return kExitBusy;
            case OpenProblem::NotPermitted:
                message = "no permission to open the amplifier at " + path_ + " (" + reason +
                          ")\n" + kUdevHint;
                return kExitNotPermitted;
            case OpenProblem::Other:
                break;
        }
        message = "cannot open the amplifier at " + path_ + " (" + reason + ")";
        return kExitFailure;
    }

    // Binding asked for the identification; its reply asks for the settings.
    for (const auto& [code, what] :
         {std::pair<std::uint8_t, const char*>{CmdReadInfo, "the identification request"},
          std::pair<std::uint8_t, const char*>{CmdReadSettings, "the settings request"}}) {
        switch (WaitForReply(code, 0)) {
            case Wait::Done:
                break;
            case Wait::Stopped:
                message = "interrupted";
                return kExitInterrupted;
            case Wait::Lost:
                message = LostText();
                return kExitNoDevice;
            case Wait::TimedOut:
                message = TimeoutText(what);
                return kExitTimeout;
        }
    }
    return kExitOk;
}

DeviceSession::Wait DeviceSession::WaitForReply(std::uint8_t code, int before) {
    return WaitForReply(code, before, std::chrono::steady_clock::now() + timeout_);
}

DeviceSession::Wait DeviceSession::WaitForReply(std::uint8_t code, int before,
                                                std::chrono::steady_clock::time_point until) {
    for (;;) {
        if (replies_[code] > before) return Wait::Done;
        if (StopRequested()) return Wait::Stopped;
        if (!link_.State().Connected) return Wait::Lost;
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) return Wait::TimedOut;
        executor_->RunOne(std::min<std::chrono::milliseconds>(
            kSlice, std::chrono::duration_cast<std::chrono::milliseconds>(until - now) +
                        std::chrono::milliseconds(1)));
    }
}

std::string DeviceSession::TimeoutText(const std::string& what) const {
    std::ostringstream text;
    text << "no reply to " << what << " within " << static_cast<double>(timeout_.count()) / 1000.0
         << " s (is the amplifier still connected?)";
    return text.str();
}

std::string DeviceSession::LostText() const {
    return "the amplifier at " + path_ + " was unplugged";
}

}  // namespace karvo::cli
