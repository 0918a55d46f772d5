#include "sim/simulator_bench.h"

#include <algorithm>
#include <cstring>

namespace karvo {

SimulatorBench::SimulatorBench() : start_(std::chrono::steady_clock::now()) {}

void SimulatorBench::SetAppliedForce(double newtons) {
    std::lock_guard<std::mutex> lock(mutex_);
    model_.SetAppliedForce(newtons);
}

void SimulatorBench::SetTareInput(bool active) {
    std::lock_guard<std::mutex> lock(mutex_);
    model_.SetTareInput(active);
}

void SimulatorBench::SetSensorError(bool error) {
    std::lock_guard<std::mutex> lock(mutex_);
    model_.SetSensorError(error);
}

void SimulatorBench::SetConverterError(bool error) {
    std::lock_guard<std::mutex> lock(mutex_);
    model_.SetConverterError(error);
}

void SimulatorBench::SetPlugged(bool plugged) {
    std::function<void()> listener;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (plugged == plugged_) return;
        plugged_ = plugged;
        if (plugged) {
            ++generation_;
            model_.PowerUp();
        }
        listener = listener_;
    }
    changed_.notify_all();
    if (listener) listener();
}

bool SimulatorBench::Plugged() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return plugged_;
}

double SimulatorBench::AppliedForce() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return model_.AppliedForce();
}

TDeviceSettingsRecord SimulatorBench::Settings() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return model_.Settings();
}

bool SimulatorBench::Streaming() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return model_.Streaming();
}

std::uint64_t SimulatorBench::Generation() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return generation_;
}

void SimulatorBench::SetChangeListener(std::function<void()> listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
}

bool SimulatorBench::Write(std::uint64_t generation, const std::uint8_t* report,
                           std::size_t length) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!Alive(generation)) return false;
        model_.Receive(report, length, Now());
    }
    changed_.notify_all();
    return true;
}

int SimulatorBench::Read(std::uint64_t generation, std::uint8_t* buffer, std::size_t capacity,
                         int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (!Alive(generation)) return -1;
        const auto now = Now();
        if (auto report = model_.NextReport(now)) {
            const std::size_t n = std::min(capacity, report->size());
            std::memcpy(buffer, report->data(), n);
            return static_cast<int>(n);
        }
        auto until = deadline;
        if (auto due = model_.NextReportTime(now)) until = std::min(until, start_ + *due);
        if (std::chrono::steady_clock::now() >= deadline) return 0;
        changed_.wait_until(lock, until);
    }
}

}  // namespace karvo
