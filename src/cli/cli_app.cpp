#include "cli/cli_app.h"

#include <ostream>
#include <sstream>

#include "app/version.h"
#include "cli/cli_options.h"
#include "cli/device_session.h"
#include "cli/exit_status.h"
#include "cli/monitor_format.h"
#include "cli/settings_lines.h"
#include "hid/hidapi_backend.h"
#include "protocol/commands.h"
#include "settings/config_file.h"
#include "sim/simulated_backend.h"

namespace karvo::cli {
namespace {

constexpr double kSimulatedLoadN = 250.0;

class Commands {
  public:
    Commands(const CliOptions& options, CliEnvironment& env) : o_(options), env_(env) {}

    int Run() {
        // A file that will be refused is refused before any amplifier is touched.
        if (o_.command == "write") {
            if (const int status = LoadFile(); status != kExitOk) return status;
        }
        executor_ = std::make_shared<TaskQueueExecutor>();
        try {
            backend_ = env_.makeBackend(o_.simulate, executor_);
        } catch (const std::exception& e) {
            return Fail(kExitFailure, std::string("cannot reach the HID devices: ") + e.what());
        }
        if (!backend_) return Fail(kExitFailure, "cannot reach the HID devices");
        session_ = std::make_unique<DeviceSession>(*backend_, executor_, o_.device, o_.timeout,
                                                   env_.stop, o_.command == "monitor");
        const int status = Execute();
        session_.reset();  // readers end before the backend goes
        return status;
    }

  private:
    int Execute() {
        std::string message;
        if (const int status = session_->Connect(message); status != kExitOk) {
            return Fail(status, message);
        }
        if (o_.command == "info") return Info();
        if (o_.command == "read") return Read();
        if (o_.command == "write") return Write();
        if (o_.command == "factory") {
            return Simple(CmdRestoreFactory, "the factory restore", "Factory settings restored.",
                          true);
        }
        if (o_.command == "tare") return Simple(CmdTare, "the tare", "Tare done.", false);
        if (o_.command == "reset-minmax") {
            return Simple(CmdResetMinMax, "the min/max reset", "Minimum and maximum reset.", false);
        }
        return Monitor();
    }

    int Fail(int status, const std::string& message) {
        env_.err << "karvo-cli: " << message << "\n";
        env_.err.flush();
        return status;
    }

    // A wait's outcome as an exit status (kExitOk when the reply came).
    int Waited(DeviceSession::Wait wait, const std::string& what) {
        switch (wait) {
            case DeviceSession::Wait::Done:
                return kExitOk;
            case DeviceSession::Wait::Stopped:
                return Fail(kExitInterrupted, "interrupted");
            case DeviceSession::Wait::Lost:
                return Fail(kExitNoDevice, session_->LostText());
            case DeviceSession::Wait::TimedOut:
                break;
        }
        return Fail(kExitTimeout, session_->TimeoutText(what));
    }

    int Info() {
        const TDeviceInfoRecord& info = session_->State().Info;
        env_.out << "Name: " << info.Name() << "\n"
                 << "Firmware version: "
                 << FormatFixed(info.FirmwareVersion, 3, 2, NumberLocale{".", ""}) << "\n"
                 << "Detail: " << info.Detail() << "\n"
                 << "Device: " << session_->DevicePath() << "\n";
        return kExitOk;
    }

    int Read() {
        const TDeviceSettingsRecord settings = session_->State().Settings;
        if (o_.operands.empty()) {
            env_.out << FormatLines(DescribeSettings(settings));
            return kExitOk;
        }
        const std::string& path = o_.operands.front();
        const SettingsPageValues page = PageFromSettings(settings, session_->Link());

        // What the file will write back must be what the amplifier holds.
        IniFile image;
        WriteConfig(image, page);
        const FileCheck check = CheckConfig(image);
        for (const auto& r : check.refusals) {
            env_.err << "karvo-cli: warning: the file will be refused: " << r << "\n";
        }
        if (check.refusals.empty()) {
            for (const auto& d : Differences(RecordForPage(check.page, settings), settings)) {
                env_.err << "karvo-cli: warning: the window cannot express the amplifier's "
                            "setting: "
                         << d << "\n";
            }
        }
        if (const auto error = SaveConfigFile(path, page)) return Fail(kExitFailure, *error);
        env_.out << "Settings saved to " << path << "\n";
        return kExitOk;
    }

    int LoadFile() {
        const std::string& path = o_.operands.front();
        std::string error;
        switch (file_.LoadFile(path, &error)) {
            case IniFile::LoadResult::Loaded:
                break;
            case IniFile::LoadResult::Missing:
                return Fail(kExitRefusedFile, "cannot read " + path + ": no such file");
            case IniFile::LoadResult::Failed:
                return Fail(kExitRefusedFile,
                            "cannot read " + path + (error.empty() ? std::string() : ": " + error));
        }
        if (!file_.SectionExists(config_file::kSection)) {
            return Fail(kExitRefusedFile, path + " is not a configuration file (no [" +
                                              config_file::kSection + "] section)");
        }
        check_ = CheckConfig(file_);
        for (const auto& w : check_.warnings) env_.err << "karvo-cli: warning: " << w << "\n";
        if (!check_.refusals.empty()) {
            for (const auto& r : check_.refusals) env_.err << "karvo-cli: refused: " << r << "\n";
            return Fail(kExitRefusedFile, path + " refused; nothing was written");
        }
        return kExitOk;
    }

    int Write() {
        const std::string& path = o_.operands.front();
        const TDeviceSettingsRecord expected =
            RecordForPage(check_.page, session_->State().Settings);

        const int acks = session_->Replies(CmdWriteSettings);
        const LongCommand frame = WriteSettingsFrame(expected);
        session_->Link().SendReport(frame.data(), frame.size());
        if (const int s =
                Waited(session_->WaitForReply(CmdWriteSettings, acks), "the settings write");
            s != kExitOk) {
            return s;
        }
        const auto& ack = session_->LastReply(CmdWriteSettings);
        if (ack.size() < 2 || ack[1] != 0) {
            return Fail(kExitDeviceRefused,
                        "the amplifier refused the settings (wrong parameters, status " +
                            std::to_string(ack.size() < 2 ? 0 : ack[1]) + ")");
        }

        const int reads = session_->Replies(CmdReadSettings);
        session_->Link().SendCommand(CmdReadSettings);
        if (const int s =
                Waited(session_->WaitForReply(CmdReadSettings, reads), "the settings read-back");
            s != kExitOk) {
            return s;
        }
        const auto differences = Differences(expected, session_->State().Settings);
        if (!differences.empty()) {
            for (const auto& d : differences) env_.err << "karvo-cli: differs: " << d << "\n";
            return Fail(kExitVerifyMismatch,
                        "verify failed: the amplifier does not hold what " + path + " says");
        }
        env_.out << "Settings of " << path << " written and verified.\n";
        return kExitOk;
    }

    // A command whose reply is awaited; `settingsFollow`: the link reads the settings after it.
    int Simple(std::uint8_t code, const std::string& what, const std::string& done,
               bool settingsFollow) {
        const int before = session_->Replies(code);
        const int reads = session_->Replies(CmdReadSettings);
        session_->Link().SendCommand(code);
        if (const int s = Waited(session_->WaitForReply(code, before), what); s != kExitOk)
            return s;
        if (settingsFollow) {
            const int s =
                Waited(session_->WaitForReply(CmdReadSettings, reads), "the settings read");
            if (s != kExitOk) return s;
        }
        env_.out << done << "\n";
        return kExitOk;
    }

    int Monitor() {
        const TDeviceSettingsRecord& s = session_->State().Settings;
        MonitorContext context{s.TUnits, s.TRange, s.AnalogMode == 1, o_.decimals};
        if (o_.csv) env_.out << CsvHeader() << "\n" << std::flush;

        using Clock = std::chrono::steady_clock;
        const auto end = o_.duration ? Clock::now() + *o_.duration : Clock::time_point::max();
        long lines = 0;
        while (!o_.count || lines < *o_.count) {
            const int before = session_->Replies(CmdReadMeasurement);
            const auto now = Clock::now();
            const auto until = (end - now > o_.timeout) ? now + o_.timeout : end;
            const auto wait = session_->WaitForReply(CmdReadMeasurement, before, until);
            if (wait == DeviceSession::Wait::Stopped) break;  // Ctrl-C: the normal end
            if (wait == DeviceSession::Wait::Lost) return Fail(kExitNoDevice, session_->LostText());
            if (wait == DeviceSession::Wait::TimedOut) {
                if (Clock::now() >= end) break;
                return Fail(kExitTimeout, "no measurement within " + Seconds(o_.timeout) +
                                              " s (is the amplifier still connected?)");
            }
            env_.out << MonitorLine(session_->State().Measurement, context, env_.now(), o_.csv)
                     << "\n"
                     << std::flush;
            ++lines;
        }
        return kExitOk;
    }

    static std::string Seconds(std::chrono::milliseconds ms) {
        std::ostringstream s;
        s << static_cast<double>(ms.count()) / 1000.0;
        return s.str();
    }

    const CliOptions& o_;
    CliEnvironment& env_;
    IniFile file_;
    FileCheck check_;
    std::shared_ptr<TaskQueueExecutor> executor_;
    std::unique_ptr<HidBackend> backend_;
    std::unique_ptr<DeviceSession> session_;
};

}  // namespace

BackendFactory DefaultBackendFactory() {
    return [](bool simulate, std::shared_ptr<UiExecutor> executor) -> std::unique_ptr<HidBackend> {
        if (!simulate) return MakeHidapiBackend(std::move(executor));
        auto bench = std::make_shared<SimulatorBench>();
        bench->SetAppliedForce(kSimulatedLoadN);
        return std::make_unique<SimulatedBackend>(std::move(bench), std::move(executor));
    };
}

int RunCli(const std::vector<std::string>& args, CliEnvironment& env) {
    CliOptions options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        env.err << "karvo-cli: " << error << "\nTry \"karvo-cli --help\".\n";
        return kExitUsage;
    }
    if (options.help) {
        env.out << UsageText();
        return kExitOk;
    }
    if (options.version) {
        env.out << "karvo-cli " << kVersion << "\n";
        return kExitOk;
    }
    try {
        return Commands(options, env).Run();
    } catch (const std::exception& e) {
        env.err << "karvo-cli: " << e.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace karvo::cli
