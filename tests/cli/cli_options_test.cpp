// The command line: what is accepted, what is refused, help and version; the exact decimal
// texts of saved settings.
#include "cli/cli_options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_app.h"
#include "cli/exit_status.h"
#include "cli/settings_lines.h"
#include "settings/entry_check.h"

namespace karvo::cli {
namespace {

using ::testing::HasSubstr;

TEST(CliOptions, OptionsGoAnywhereAndTakeBothForms) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(ParseOptions({"--timeout=0,5", "monitor", "--count", "5", "--csv", "--device",
                              "/dev/hidraw3", "--duration", "1.25", "--simulate"},
                             o, error))
        << error;
    EXPECT_EQ(o.command, "monitor");
    EXPECT_EQ(o.timeout.count(), 500);
    EXPECT_EQ(o.count, 5);
    EXPECT_TRUE(o.csv);
    EXPECT_TRUE(o.simulate);
    EXPECT_EQ(o.device, "/dev/hidraw3");
    EXPECT_EQ(o.duration->count(), 1250);
}

TEST(CliOptions, BadCommandLinesAreUsageErrors) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "no command given"},
        {{"flash"}, "unknown command \"flash\""},
        {{"write"}, "write needs a configuration file"},
        {{"read", "a.cfg", "b.cfg"}, "too many arguments for read"},
        {{"tare", "x"}, "too many arguments for tare"},
        {{"info", "--count", "3"}, "belong to monitor"},
        {{"monitor", "--count", "0"}, "--count needs a whole number above 0"},
        {{"monitor", "--count", "2.5"}, "--count needs a whole number above 0"},
        {{"monitor", "--decimals", "5"}, "from 0 to 4"},
        {{"info", "--timeout", "0"}, "--timeout needs a number of seconds above 0"},
        {{"info", "--timeout", "soon"}, "--timeout needs a number of seconds"},
        {{"info", "--timeout"}, "option --timeout needs a value"},
        {{"info", "--device="}, "--device needs a device path"},
        {{"info", "--csv=1"}, "option --csv takes no value"},
        {{"info", "-x"}, "unknown option -x"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        CliEnvironment env{out, err};
        env.makeBackend = [](bool, std::shared_ptr<UiExecutor>) -> std::unique_ptr<HidBackend> {
            ADD_FAILURE() << "no device may be touched";
            return nullptr;
        };
        EXPECT_EQ(RunCli(c.args, env), kExitUsage) << c.message;
        EXPECT_THAT(err.str(), HasSubstr(c.message));
        EXPECT_EQ(out.str(), "");
    }
}

TEST(CliOptions, HelpAndVersion) {
    std::ostringstream out, err;
    CliEnvironment env{out, err};
    EXPECT_EQ(RunCli({"--version"}, env), kExitOk);
    EXPECT_EQ(out.str(), "karvo-cli 1.04\n");
    out.str({});
    EXPECT_EQ(RunCli({"write", "--help"}, env), kExitOk);
    EXPECT_THAT(out.str(), HasSubstr("Usage: karvo-cli"));
    EXPECT_THAT(out.str(), HasSubstr("8 verify mismatch"));
    EXPECT_EQ(err.str(), "");
}

TEST(ExactText, ReadsBackAsTheSameFloat) {
    for (float v : {0.0f, 0.1f, 1.9876f, 2.0f, -12.5f, -99999.0f, 123456.7f, 1e8f, 1e-7f, 3.4e38f,
                    1.4e-45f}) {
        const std::string text = ExactText(v);
        const auto back = TryStrToFloat(text, ".");
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(static_cast<float>(*back), v) << text;
        EXPECT_EQ(text.find_first_of("eE,"), std::string::npos) << text;
    }
    EXPECT_EQ(ExactText(0.1f), "0.1");
    EXPECT_EQ(ExactText(1e8f), "100000000");
}

}  // namespace
}  // namespace karvo::cli
