// Every command of karvo-cli against simulated amplifiers, through the same discovery,
// reader threads and hand-over as the real device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <sstream>
#include <thread>

#include "cli/cli_app.h"
#include "cli/exit_status.h"
#include "cli/fault_backends.h"
#include "settings/config_file.h"
#include "settings/temp_folder.h"
#include "sim/simulator_bench.h"

namespace karvo {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using namespace cli;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CliCommands : public ::testing::Test {
  protected:
    CliCommands() { benches = {std::make_shared<SimulatorBench>()}; }

    int Run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        CliEnvironment env{out, err};
        env.makeBackend = [this](
                              bool simulate,
                              std::shared_ptr<UiExecutor> executor) -> std::unique_ptr<HidBackend> {
            EXPECT_TRUE(simulate);
            if (refuseWith) return std::make_unique<test::RefusingBackend>(refuseWith);
            return std::make_unique<test::BenchBackend>(benches, executor, fault, answered);
        };
        env.stop = &stop;
        args.insert(args.begin(), "--simulate");
        return RunCli(args, env);
    }
    SimulatorBench& Bench(std::size_t i = 0) { return *benches.at(i); }
    std::string File(const std::string& name, const std::string& text) {
        const auto p = folder.path / name;
        test::WriteAll(p, text);
        return p.string();
    }

    std::vector<std::shared_ptr<SimulatorBench>> benches;
    test::Fault fault = test::Fault::None;
    int answered = 2;
    int refuseWith = 0;
    std::atomic<bool> stop{false};
    std::ostringstream out, err;
    test::TempFolder folder;
};

// A file as another system's window would write it, with "," as decimal separator.
const char* const kProductionFile =
    "[KARVP config ]\r\nSoftware version=1.04\r\n[Config]\r\nDecp=3\r\nTUnits=3\r\n"
    "TFilter=4\r\nTRate=2\r\nTOffset=0,125\r\nTSign=1\r\nTSense=1,98765\r\nTRange=2000\r\n"
    "AnalogMin=-12,5\r\nAnalogMax=150,75\r\nAnalogAbs=1\r\nModbusAddress=9\r\nModbusBaud=4\r\n"
    "ModbusParity=1\r\n";

TEST_F(CliCommands, InfoPrintsNameFirmwareAndDetail) {
    ASSERT_EQ(Run({"info"}), kExitOk) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("Name: KARVO\nFirmware version: 1.04\nDetail: SYMULATOR\n"));
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliCommands, ReadPrintsEverySettingWithItsMeaning) {
    ASSERT_EQ(Run({"read"}), kExitOk) << err.str();
    const std::string text = out.str();
    for (const char* pattern :
         {R"(TUnits += 0 +# unit: N \(newton\))", R"(TSense += 2 +# sensor constant)",
          R"(TRange += 1000 +# sensor range \(capacity\), N)", R"(TFilter += 8 +# averaging)",
          R"(TRate += 1 +# data rate: 10 measurements per second)",
          R"(AnalogMode += 0 +# analog output 0-10 V)", R"(ModbusBaud += 19200 )",
          R"(ModbusParity += 2 +# Modbus parity: Even)"}) {
        EXPECT_TRUE(std::regex_search(text, std::regex(pattern))) << pattern << "\n" << text;
    }
    EXPECT_EQ(Lines(text).size(), 14u);
}

// The production use: one amplifier's settings saved, then written to another.
TEST_F(CliCommands, SavedSettingsWrittenToAnotherAmplifierMatchExactly) {
    benches.push_back(std::make_shared<SimulatorBench>());
    ASSERT_EQ(Run({"--device", "amp1", "write", File("in.cfg", kProductionFile)}), kExitOk)
        << err.str();
    const TDeviceSettingsRecord first = Bench(0).Settings();
    EXPECT_FLOAT_EQ(first.TSense, 1.98765f);
    EXPECT_FLOAT_EQ(first.TOffset, 0.125f);
    EXPECT_EQ(first.TFilter, 128);
    EXPECT_EQ(first.ModbusBaud, 115200u);
    EXPECT_EQ(first.ModbusAddress, 10);
    EXPECT_EQ(first.TSign, -1);

    const std::string saved = (folder.path / "saved.cfg").string();
    ASSERT_EQ(Run({"read", saved, "--device=amp1"}), kExitOk) << err.str();
    EXPECT_EQ(err.str(), "");
    // The window reads it back into the same controls.
    SettingsPageValues page;
    ASSERT_FALSE(LoadConfigFile(saved, page));
    EXPECT_EQ(page.TensUnits, 3);
    EXPECT_EQ(page.TensFilter, 4);
    EXPECT_EQ(page.TensDataRate, 2);
    EXPECT_EQ(page.ModbusAddress, 9);
    EXPECT_EQ(page.ModbusBaud, 4);
    EXPECT_EQ(page.ModbusParity, 1);
    EXPECT_TRUE(page.Tens1Sign);
    EXPECT_TRUE(page.AnalogAbsolute);
    EXPECT_EQ(page.TSens.text, "1.98765");
    EXPECT_EQ(page.TRange.text, "2000");
    EXPECT_THAT(test::ReadAll(saved), HasSubstr("[KARVP config ]\r\nSoftware version=1.04\r\n"
                                                "[Config]\r\nDecp=3\r\nTUnits=3\r\n"));

    ASSERT_EQ(Run({"write", saved, "--device", "amp2"}), kExitOk) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("written and verified"));
    EXPECT_EQ(Bench(1).Settings(), first);
}

TEST_F(CliCommands, RefusedFileNamesEveryRefusedKeyAndWritesNothing) {
    const std::string path = File("bad.cfg",
                                  "[Config]\nDecp=1\nTUnits=9\nTFilter=1\nTRate=1\nTOffset=1,5\n"
                                  "TSign=x\nTSense=abc\nTRange=500.0\nAnalogMin=-1000000\n"
                                  "AnalogMax=0.05\nAnalogAbs=0\nModbusAddress=0\n"
                                  "ModbusBaud=57600\nModbusParity=0\n");
    EXPECT_EQ(Run({"write", path}), kExitRefusedFile);
    const std::string e = err.str();
    EXPECT_THAT(e, HasSubstr("refused: TUnits: \"9\" is not a list index (0 to 5)"));
    EXPECT_THAT(e, HasSubstr("refused: TSign: \"x\" is not a whole number"));
    EXPECT_THAT(e, HasSubstr("refused: TSense: \"abc\" is not a number"));
    EXPECT_THAT(e, HasSubstr("refused: TRange: \"500.0\" is not a whole number"));
    EXPECT_THAT(e, HasSubstr("refused: AnalogMin: \"-1000000\" is outside -999999 to 999999"));
    EXPECT_THAT(e, HasSubstr("refused: ModbusBaud: \"57600\" is not a list index (0 to 4)"));
    EXPECT_THAT(e, Not(HasSubstr("TOffset")));
    EXPECT_THAT(e, Not(HasSubstr("AnalogMax")));
    EXPECT_THAT(e, HasSubstr("nothing was written"));
    EXPECT_EQ(Bench().Settings(), AmplifierModel::FactorySettings());
    EXPECT_FALSE(Bench().Streaming());
}

TEST_F(CliCommands, FileThatIsMissingOrNotAConfigurationIsRefused) {
    EXPECT_EQ(Run({"write", (folder.path / "none.cfg").string()}), kExitRefusedFile);
    EXPECT_THAT(err.str(), HasSubstr("no such file"));
    EXPECT_EQ(Run({"write", File("other.ini", "[Options]\nLanguage=2\n")}), kExitRefusedFile);
    EXPECT_THAT(err.str(), HasSubstr("no [Config] section"));
    EXPECT_EQ(Bench().Settings(), AmplifierModel::FactorySettings());
}

TEST_F(CliCommands, MissingKeysTakeTheWindowsDefaultsWithAWarning) {
    ASSERT_EQ(Run({"write", File("short.cfg", "[Config]\nTRange=750\n")}), kExitOk) << err.str();
    EXPECT_THAT(err.str(), HasSubstr("warning: TSense is missing; its default is used"));
    EXPECT_EQ(Bench().Settings().TRange, 750u);
    EXPECT_FLOAT_EQ(Bench().Settings().TSense, 2.0f);
    EXPECT_FLOAT_EQ(Bench().Settings().AnalogMax, 500.0f);
}

TEST_F(CliCommands, AmplifierThatStoresSomethingElseFailsTheVerify) {
    fault = test::Fault::StoresOther;
    EXPECT_EQ(Run({"write", File("in.cfg", kProductionFile)}), kExitVerifyMismatch);
    EXPECT_THAT(err.str(), HasSubstr("differs: TRange: file 2000, amplifier 2001"));
    EXPECT_THAT(err.str(), HasSubstr("verify failed"));
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliCommands, AmplifierThatStopsAnsweringTimesOut) {
    fault = test::Fault::GoesSilent;
    const std::string file = File("in.cfg", kProductionFile);
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"tare"}, "no reply to the tare within 0.4 s"},
        {{"reset-minmax"}, "no reply to the min/max reset"},
        {{"factory"}, "no reply to the factory restore"},
        {{"write", file}, "no reply to the settings write"},
        {{"monitor", "--csv", "--count", "3"}, "no measurement within 0.4 s"},
    };
    for (const auto& c : cases) {
        auto args = c.args;
        args.insert(args.end(), {"--timeout", "0.4"});
        EXPECT_EQ(Run(args), kExitTimeout) << c.args.front();
        EXPECT_THAT(err.str(), HasSubstr(c.message));
    }
    answered = 0;  // silent from the start: not even identified
    EXPECT_EQ(Run({"info", "--timeout", "0.4"}), kExitTimeout);
    EXPECT_THAT(err.str(), HasSubstr("no reply to the identification request"));
}

TEST_F(CliCommands, FactoryRestoresAndRereadsTheSettings) {
    ASSERT_EQ(Run({"write", File("in.cfg", kProductionFile)}), kExitOk) << err.str();
    ASSERT_NE(Bench().Settings(), AmplifierModel::FactorySettings());
    ASSERT_EQ(Run({"factory"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Factory settings restored.\n");
    EXPECT_EQ(Bench().Settings(), AmplifierModel::FactorySettings());
}

TEST_F(CliCommands, TareAndMinMaxResetActOnTheStream) {
    Bench().SetAppliedForce(250.0);
    ASSERT_EQ(Run({"tare"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Tare done.\n");
    ASSERT_EQ(Run({"monitor", "--csv", "--count", "1"}), kExitOk) << err.str();
    EXPECT_TRUE(std::regex_search(Lines(out.str()).at(1), std::regex(",-?0\\.000,N,")))
        << out.str();

    Bench().SetAppliedForce(500.0);
    ASSERT_EQ(Run({"monitor", "--count", "1"}), kExitOk);
    Bench().SetAppliedForce(100.0);
    ASSERT_EQ(Run({"reset-minmax"}), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Minimum and maximum reset.\n");
}

TEST_F(CliCommands, MonitorCsvGivesHeaderAndCountLines) {
    Bench().SetAppliedForce(250.0);
    ASSERT_EQ(Run({"monitor", "--csv", "--count", "3"}), kExitOk) << err.str();
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "time,value,unit,min,max,load_percent,analog_output,analog_unit,tare_input,"
              "sensor_error,converter_error");
    // 250 N on a 1.9876 mV/V sensor read with the factory constant 2.0 over 1000 N.
    const std::regex row(
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3},248\.450,N,-?\d+\.\d{3},248\.450,24\.84,2\.484,V,0,0,0)");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], row)) << lines[i];
    }
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliCommands, MonitorTextShowsUnitsAndStatusBits) {
    ASSERT_EQ(Run({"write", File("in.cfg", kProductionFile)}), kExitOk) << err.str();
    Bench().SetSensorError(true);
    ASSERT_EQ(Run({"monitor", "--count", "2", "--decimals", "1"}), kExitOk) << err.str();
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 2u);
    const std::regex line(
        R"(\S+  -?\d+\.\d kg  min -?\d+\.\d kg  max -?\d+\.\d kg  load -?\d+\.\d\d %  output \d+\.\d{3} V  tare 0  sensor-error 1  converter-error 0)");
    for (const auto& l : lines) EXPECT_TRUE(std::regex_match(l, line)) << l;
}

TEST_F(CliCommands, MonitorEndsCleanlyOnStopAndAfterItsDuration) {
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        stop = true;
    });
    EXPECT_EQ(Run({"monitor"}), kExitOk) << err.str();
    stopper.join();
    EXPECT_GE(Lines(out.str()).size(), 1u);
    EXPECT_EQ(err.str(), "");

    stop = false;
    EXPECT_EQ(Run({"monitor", "--csv", "--duration", "0.35"}), kExitOk) << err.str();
    EXPECT_GE(Lines(out.str()).size(), 2u);
}

TEST_F(CliCommands, UnpluggedWhileStreamingEndsWithTheLostDeviceNotATimeout) {
    std::thread unplugger([this] {
        while (!Bench().Streaming()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        Bench().SetPlugged(false);
    });
    // Waiting out the 30 s reply timeout would give status 6.
    EXPECT_EQ(Run({"monitor", "--timeout", "30"}), kExitNoDevice);
    unplugger.join();
    EXPECT_GE(Lines(out.str()).size(), 1u);
    EXPECT_THAT(err.str(), HasSubstr("the amplifier at amp1 was unplugged"));
}

TEST_F(CliCommands, DeviceChoiceAmongSeveralAmplifiers) {
    benches.push_back(std::make_shared<SimulatorBench>());
    EXPECT_EQ(Run({"info"}), kExitUsage);
    EXPECT_THAT(err.str(), HasSubstr("several amplifiers found; pick one with --device PATH:\n"
                                     "  amp1\n  amp2"));
    EXPECT_EQ(Run({"info", "--device", "amp3"}), kExitNoDevice);
    EXPECT_THAT(err.str(), HasSubstr("no amplifier at amp3"));

    ASSERT_EQ(Run({"write", File("in.cfg", kProductionFile), "--device", "amp2"}), kExitOk);
    EXPECT_EQ(Bench(0).Settings(), AmplifierModel::FactorySettings());
    EXPECT_EQ(Bench(1).Settings().TRange, 2000u);
}

TEST_F(CliCommands, OpenProblemsHaveTheirOwnStatus) {
    benches.front()->SetPlugged(false);
    EXPECT_EQ(Run({"info"}), kExitNoDevice);
    EXPECT_THAT(err.str(), HasSubstr("no amplifier found"));

    refuseWith = EACCES;
    EXPECT_EQ(Run({"read"}), kExitNotPermitted);
    EXPECT_THAT(err.str(), HasSubstr("no permission to open the amplifier at /dev/hidraw7"));
    EXPECT_THAT(err.str(), HasSubstr("70-karvo.rules"));
    refuseWith = EPERM;
    EXPECT_EQ(Run({"read"}), kExitNotPermitted);
    refuseWith = EBUSY;
    EXPECT_EQ(Run({"tare"}), kExitBusy);
    EXPECT_THAT(err.str(), HasSubstr("is busy"));
    refuseWith = EIO;
    EXPECT_EQ(Run({"tare"}), kExitFailure);
    EXPECT_THAT(err.str(), HasSubstr("cannot open the amplifier"));
}

TEST_F(CliCommands, ReadToAFileThatCannotBeWrittenFails) {
    const std::string path = (folder.path / "no-such-folder" / "x.cfg").string();
    EXPECT_EQ(Run({"read", path}), kExitFailure);
    EXPECT_THAT(err.str(), HasSubstr("Unable to write to " + path));
}

}  // namespace
}  // namespace karvo
