// Saving the options file and a configuration file under a process that is killed at
// random moments, and onto a disk that fills up: the file is always wholly the old or
// wholly the new version.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "app/options.h"
#include "settings/config_file.h"
#include "settings/ini_file.h"
#include "settings/settings_values.h"
#include "settings/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;

// Two versions of config.ini as the program writes it at closing; the second longer, so
// that a cut-off copy of it could pass for neither.
std::string OptionsText(bool second) {
    IniFile ini;
    ini.WriteString(kOptionsSection, "FileName",
                    second ? "C:\\Pomiary\\" + std::string(300, 'b') + ".csv" : "pomiary.csv");
    AppOptions o;
    o.Checkbox_DataAcquistion = second;
    o.DataAcquistionSpeed = second ? 5 : 0;
    o.SaveDataSummary = second;
    o.TimeSize = second ? 6 : 1;
    o.Sampling = second ? 0 : 2;
    o.Language = second ? 1 : 0;
    o.WriteAtClosing(ini);
    return ini.Text();
}

SettingsPageValues ConfigPage(bool second) {
    SettingsPageValues page;
    page.TensUnits = second ? 3 : 0;
    page.TOffset.text = second ? "-12.5" + std::string(200, '0') : "0";
    page.TSens.text = second ? "1.9876" : "2.000";
    page.ModbusAddress = second ? 246 : 0;
    page.TensDecp = second ? 4 : 1;
    return page;
}

struct KillCounts {
    int kills = 0;
    int saves = 0;  // saves the children finished before they were killed
    int found0 = 0, found1 = 0;
    int lost = 0;           // files that were neither version
    int leftTemporary = 0;  // temporary files of saves killed part way
};

// Forks `rounds` children, each saving versions 1, 0, 1, ... (or 0, 1, ...) with `save` in
// a loop, and kills each with SIGKILL after a random pause once it has started; after each
// kill the file must be one of the two versions.
KillCounts KillWhileSaving(const fs::path& folder, const fs::path& file, int rounds,
                           const std::function<void(bool)>& save, const std::string& version0,
                           const std::string& version1) {
    KillCounts counts;
    // Pauses up to about the time three saves take, so that kills fall at every point.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) save(i % 2 == 0);
    save(false);
    const auto saveUs = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count() /
                        11;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long long> pauseUs(0, 3 * saveUs + 50);
    for (int round = 0; round < rounds; ++round) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            ADD_FAILURE() << "pipe";
            return counts;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(pipeFds[0]);
            const char started = 0;
            if (write(pipeFds[1], &started, 1) != 1) _exit(3);
            for (bool second = round % 2 == 0;; second = !second) {
                save(second);
                const char done = 1;
                if (write(pipeFds[1], &done, 1) != 1) _exit(3);
            }
        }
        close(pipeFds[1]);
        if (child < 0) {
            close(pipeFds[0]);
            ADD_FAILURE() << "fork";
            return counts;
        }
        char started;
        if (read(pipeFds[0], &started, 1) != 1) ADD_FAILURE() << "child did not start";
        usleep(static_cast<useconds_t>(pauseUs(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ++counts.kills;
        char buffer[256];
        for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) counts.saves += n;
        close(pipeFds[0]);

        const std::string now = ReadAll(file);
        if (now == version0) {
            ++counts.found0;
        } else if (now == version1) {
            ++counts.found1;
        } else {
            ++counts.lost;
            ADD_FAILURE() << "round " << round << ": the file is neither version (" << now.size()
                          << " bytes)";
        }
        // What a killed save leaves behind is cleared, so that each round starts alike.
        for (const auto& e : fs::directory_iterator(folder)) {
            if (e.path() != file) {
                ++counts.leftTemporary;
                fs::remove(e.path());
            }
        }
    }
    return counts;
}

void Report(const char* what, const KillCounts& c, int rounds) {
    std::printf(
        "%s: %d rounds, %d killed, %d saves finished, version 0 found %d, version 1 "
        "found %d, %d lost, %d killed part way (temporary file left)\n",
        what, rounds, c.kills, c.saves, c.found0, c.found1, c.lost, c.leftTemporary);
}

TEST(FileWriteSafety, OptionsFileKilledWhileSavingIsAlwaysOneWholeVersion) {
    test::TempFolder dir;
    const fs::path file = dir.path / kOptionsFileName;
    const std::string v0 = OptionsText(false), v1 = OptionsText(true);
    ASSERT_TRUE(IniFile(v0).Save(file.string()));

    constexpr int kRounds = 1000;
    const KillCounts c = KillWhileSaving(
        dir.path, file, kRounds,
        [&](bool second) { IniFile(second ? v1 : v0).Save(file.string()); }, v0, v1);
    Report("options file", c, kRounds);
    EXPECT_EQ(c.kills, kRounds);
    EXPECT_EQ(c.lost, 0);
    // Kills fell part way through saves and after finished ones.
    EXPECT_GT(c.leftTemporary, 0);
    EXPECT_GT(c.saves, 0);
}

TEST(FileWriteSafety, ConfigurationFileKilledWhileSavingIsAlwaysOneWholeVersion) {
    test::TempFolder dir;
    const fs::path file = dir.path / "KARVP_config.cfg";
    ASSERT_FALSE(SaveConfigFile(file.string(), ConfigPage(true)));
    const std::string v1 = ReadAll(file);
    ASSERT_FALSE(SaveConfigFile(file.string(), ConfigPage(false)));
    const std::string v0 = ReadAll(file);
    ASSERT_NE(v0, v1);

    constexpr int kRounds = 1000;
    const KillCounts c = KillWhileSaving(
        dir.path, file, kRounds,
        [&](bool second) { SaveConfigFile(file.string(), ConfigPage(second)); }, v0, v1);
    Report("configuration file", c, kRounds);
    EXPECT_EQ(c.kills, kRounds);
    EXPECT_EQ(c.lost, 0);
    EXPECT_GT(c.leftTemporary, 0);
    EXPECT_GT(c.saves, 0);
}

// The disk fills up at any point of the new text: the save fails with its message, the old
// file stays as it was and nothing is left beside it.
TEST(FileWriteSafety, FullDiskAtAnyPointKeepsTheOldFile) {
    test::TempFolder dir;
    const fs::path file = dir.path / kOptionsFileName;
    const std::string v0 = OptionsText(false), v1 = OptionsText(true);
    ASSERT_LT(v0.size(), v1.size());
    for (const std::size_t limit :
         {std::size_t{0}, std::size_t{1}, v0.size(), v1.size() / 2, v1.size() - 1}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        test::WriteAll(file, v0);
        bool saved = true;
        std::string error;
        {
            test::FileSizeLimit full(static_cast<rlim_t>(limit));
            saved = IniFile(v1).Save(file.string(), &error);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(error, "Unable to write to " + file.string());
        EXPECT_EQ(ReadAll(file), v0);
        for (const auto& e : fs::directory_iterator(dir.path)) {
            EXPECT_EQ(e.path(), file) << "left behind";
        }
    }
}

}  // namespace
}  // namespace karvo
