// The exit statuses of karvo-cli.
#pragma once

namespace karvo::cli {

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailure = 1,         // anything else: a file that cannot be written, ...
    kExitUsage = 2,           // bad command line, or several amplifiers and no --device
    kExitNoDevice = 3,        // no amplifier found (or none at the --device path)
    kExitBusy = 4,            // the amplifier is in use by another program
    kExitNotPermitted = 5,    // no permission to open the amplifier
    kExitTimeout = 6,         // the amplifier did not answer in time
    kExitRefusedFile = 7,     // the configuration file is missing, unreadable or refused
    kExitVerifyMismatch = 8,  // the amplifier holds something else than the file says
    kExitDeviceRefused = 9,   // the amplifier answered a settings write with "wrong parameters"
    kExitInterrupted = 130,   // Ctrl-C while waiting for the amplifier (not in monitor)
};

}  // namespace karvo::cli
