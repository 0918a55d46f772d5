// The command line of karvo-cli.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace karvo::cli {

struct CliOptions {
    std::string command;                // info, read, write, factory, tare, reset-minmax, monitor
    std::vector<std::string> operands;  // the command's file, if any
    bool simulate = false;
    std::optional<std::string> device;
    std::chrono::milliseconds timeout{2000};
    std::optional<long> count;                          // monitor
    std::optional<std::chrono::milliseconds> duration;  // monitor
    bool csv = false;                                   // monitor
    int decimals = 3;                                   // monitor
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name. False with `error` set on a bad command line.
bool ParseOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

std::string UsageText();

}  // namespace karvo::cli
