// karvo-cli: the KARVO amplifier from the command line.
#include <atomic>
#include <csignal>
#include <iostream>

#include "cli/cli_app.h"

namespace {

std::atomic<bool> g_stop{false};

extern "C" void OnSignal(int) { g_stop.store(true); }

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::vector<std::string> args(argv + 1, argv + argc);
    karvo::cli::CliEnvironment env{std::cout, std::cerr};
    env.stop = &g_stop;
    return karvo::cli::RunCli(args, env);
}
