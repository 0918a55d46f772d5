// karvo-cli without its process: the commands run against a backend the caller makes, with
// the output and error streams, the clock and the stop flag given.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "hid/hid_backend.h"
#include "hid/ui_executor.h"

namespace karvo::cli {

// Makes the backend: the simulated amplifier when `simulate`, else the system's devices.
using BackendFactory =
    std::function<std::unique_ptr<HidBackend>(bool simulate, std::shared_ptr<UiExecutor>)>;

// hidapi for real amplifiers, or a simulated amplifier with a load of 250 N on it.
BackendFactory DefaultBackendFactory();

struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    BackendFactory makeBackend = DefaultBackendFactory();
    std::function<std::chrono::system_clock::time_point()> now = [] {
        return std::chrono::system_clock::now();
    };
    // Set (from a signal handler, say) to end monitor, or to give up a wait.
    const std::atomic<bool>* stop = nullptr;
};

// Runs the command line `args` (without the program name); returns the exit status.
int RunCli(const std::vector<std::string>& args, CliEnvironment& env);

}  // namespace karvo::cli
