#include "cli/cli_options.h"

#include <algorithm>
#include <cmath>

#include "settings/entry_check.h"

namespace karvo::cli {
namespace {

const char* const kCommands[] = {"info", "read",         "write",  "factory",
                                 "tare", "reset-minmax", "monitor"};

// Seconds as a decimal text ("2", "0.5" or "0,5") to milliseconds; nothing unless positive.
std::optional<std::chrono::milliseconds> ParseSeconds(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    const auto value = TryStrToFloat(text, ".");
    if (!value || !std::isfinite(*value) || *value <= 0.0 || *value > 1e9) return std::nullopt;
    return std::chrono::milliseconds(std::max<long long>(1, std::llround(*value * 1000.0)));
}

}  // namespace

std::string UsageText() {
    return R"(Usage: karvo-cli [OPTIONS] COMMAND [FILE]

The KARVO force amplifier from the command line.

Commands:
  info               show the amplifier's name, firmware version and detail text
  read [FILE.cfg]    show the settings, or save them as a configuration file
  write FILE.cfg     write the settings of a configuration file, then read them back and
                     compare
  factory            restore the factory settings
  tare               tare the amplifier
  reset-minmax       reset the minimum and the maximum
  monitor            stream measurements, one line each, until Ctrl-C

Options:
  --simulate         use the simulated amplifier
  --device PATH      the amplifier to use when several are connected
  --timeout S        seconds to wait for each reply (default 2)
  --count N          monitor: stop after N measurements
  --duration S       monitor: stop after S seconds
  --csv              monitor: a header line, then comma-separated fields
  --decimals N       monitor: decimals of the values, 0 to 4 (default 3)
  --help             show this help
  --version          show the version

Exit statuses:
  0 done, 1 other failure, 2 bad command line (or several amplifiers and no --device),
  3 no amplifier found (or it was unplugged), 4 amplifier busy, 5 no permission to open the amplifier,
  6 no reply in time, 7 configuration file refused, 8 verify mismatch,
  9 amplifier refused the settings, 130 interrupted
)";
}

bool ParseOptions(const std::vector<std::string>& args, CliOptions& o, std::string& error) {
    bool monitorOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg.resize(eq);
            }
        }
        const auto value = [&](std::string& out) {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        const auto flag = [&]() {
            if (!inlineValue) return true;
            error = "option " + arg + " takes no value";
            return false;
        };

        std::string text;
        if (arg == "--help" || arg == "-h") {
            if (!flag()) return false;
            o.help = true;
        } else if (arg == "--version") {
            if (!flag()) return false;
            o.version = true;
        } else if (arg == "--simulate") {
            if (!flag()) return false;
            o.simulate = true;
        } else if (arg == "--csv") {
            if (!flag()) return false;
            o.csv = true;
            monitorOnly = true;
        } else if (arg == "--device") {
            if (!value(text)) return false;
            if (text.empty()) {
                error = "--device needs a device path";
                return false;
            }
            o.device = text;
        } else if (arg == "--timeout" || arg == "--duration") {
            if (!value(text)) return false;
            const auto ms = ParseSeconds(text);
            if (!ms) {
                error = arg + " needs a number of seconds above 0, not \"" + text + "\"";
                return false;
            }
            if (arg == "--timeout") {
                o.timeout = *ms;
            } else {
                o.duration = *ms;
                monitorOnly = true;
            }
        } else if (arg == "--count") {
            if (!value(text)) return false;
            const auto n = TryStrToInt(text);
            if (!n || *n < 1) {
                error = "--count needs a whole number above 0, not \"" + text + "\"";
                return false;
            }
            o.count = *n;
            monitorOnly = true;
        } else if (arg == "--decimals") {
            if (!value(text)) return false;
            const auto n = TryStrToInt(text);
            if (!n || *n < 0 || *n > 4) {
                error = "--decimals needs a whole number from 0 to 4, not \"" + text + "\"";
                return false;
            }
            o.decimals = *n;
            monitorOnly = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (o.command.empty()) {
            o.command = arg;
        } else {
            o.operands.push_back(arg);
        }
    }
    if (o.help || o.version) return true;

    if (o.command.empty()) {
        error = "no command given";
        return false;
    }
    if (std::find(std::begin(kCommands), std::end(kCommands), o.command) == std::end(kCommands)) {
        error = "unknown command \"" + o.command + "\"";
        return false;
    }
    std::size_t most = 0, least = 0;
    if (o.command == "read") most = 1;
    if (o.command == "write") least = most = 1;
    if (o.operands.size() > most) {
        error = "too many arguments for " + o.command;
        return false;
    }
    if (o.operands.size() < least) {
        error = o.command + " needs a configuration file";
        return false;
    }
    if (monitorOnly && o.command != "monitor") {
        error = "--count, --duration, --csv and --decimals belong to monitor";
        return false;
    }
    return true;
}

}  // namespace karvo::cli
