#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "settings/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempFolder;
using test::WriteAll;

TEST(IniFileRead, NamesMatchWithoutRegardToCaseOrBlanks) {
    const IniFile ini(
        "top=before any section\r\n"
        "; comment=not a key\r\n"
        "[Config]\r\n"
        "  TSense = 2,0000  \r\n"
        "tsense=second one does not count\r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Single='x'\r\n"
        "Empty=\r\n"
        "NoEquals\r\n"
        "[ config ]\r\n"
        "Other=in the second Config section\r\n"
        "[Broken\r\n"
        "Leak=must not belong to Config\r\n");
    EXPECT_EQ(ini.ReadString("CONFIG", "tSeNsE", "d"), "2,0000");
    EXPECT_EQ(ini.ReadString(" config ", "TSense", "d"), "2,0000");
    EXPECT_EQ(ini.ReadString("Config", "Quoted", "d"), "  spaced  ");
    EXPECT_EQ(ini.ReadString("Config", "Single", "d"), "x");
    EXPECT_EQ(ini.ReadString("Config", "Empty", "d"), "");
    EXPECT_EQ(ini.ReadString("Config", "NoEquals", "d"), "d");
    EXPECT_EQ(ini.ReadString("Config", "; comment", "d"), "d");
    EXPECT_EQ(ini.ReadString("Config", "Other", "d"), "d");  // the first section counts
    EXPECT_EQ(ini.ReadString("Config", "Leak", "d"), "d");
    EXPECT_EQ(ini.ReadString("Config", "top", "d"), "d");
    EXPECT_EQ(ini.ReadString("Missing", "TSense", "d"), "d");
    EXPECT_TRUE(ini.ValueExists("config", "empty"));
    EXPECT_FALSE(ini.ValueExists("config", "NoEquals"));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Config", " config "}));
    EXPECT_EQ(ini.KeyNames("Config"),
              (std::vector<std::string>{"TSense", "tsense", "Quoted", "Single", "Empty"}));
}

TEST(IniFileRead, CrLfAndLfReadAlike) {
    const std::string lf = "[Options]\nA=1\nB=two\n[Next]\nC=3";
    std::string crlf;
    for (char c : lf) crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {lf, crlf, "\xEF\xBB\xBF" + lf}) {
        const IniFile ini(text);
        EXPECT_EQ(ini.ReadInteger("Options", "A", 0), 1);
        EXPECT_EQ(ini.ReadString("Options", "B", ""), "two");
        EXPECT_EQ(ini.ReadInteger("Next", "C", 0), 3);
        EXPECT_EQ(ini.Text(), text);  // read and written back unchanged
    }
}

TEST(IniFileRead, IntegersAreDecimalOrHexAndAnythingElseTheDefault) {
    struct Case {
        const char* value;
        std::int32_t expected;
    } const cases[] = {
        {"12", 12},
        {"-5", -5},
        {"+3", 3},
        {" 7 ", 7},
        {"0x1A", 26},
        {"0XfF", 255},
        {"0xFFFFFFFF", -1},
        {"0x7FFFFFFF", 2147483647},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"0x100000000", 99},
        {"2147483648", 99},
        {"12abc", 99},
        {"", 99},
        {"0x", 99},
        {"1.5", 99},
        {"$10", 99},
        {"1e3", 99},
        {"0x1G", 99},
        {"abc", 99},
        {"- 5", 99},
    };
    for (const Case& c : cases) {
        const IniFile ini(std::string("[S]\nK=") + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "K", 99), c.expected) << "'" << c.value << "'";
    }
    const IniFile bools("[S]\nOne=1\nZero=0\nTwo=2\nMinus=-1\nText=yes\n");
    EXPECT_TRUE(bools.ReadBool("S", "One", false));
    EXPECT_FALSE(bools.ReadBool("S", "Zero", true));
    EXPECT_TRUE(bools.ReadBool("S", "Two", false));
    EXPECT_TRUE(bools.ReadBool("S", "Minus", false));
    EXPECT_TRUE(bools.ReadBool("S", "Text", true));
    EXPECT_FALSE(bools.ReadBool("S", "Text", false));
    EXPECT_FALSE(bools.ReadBool("S", "Missing", false));
}

TEST(IniFileRead, ValuesAreCutAt2047Characters) {
    const IniFile ascii("[S]\nK=" + std::string(3000, 'a') + "\n");
    EXPECT_EQ(ascii.ReadString("S", "K", ""), std::string(2047, 'a'));

    std::string polish;
    for (int i = 0; i < 3000; ++i) polish += "ą";
    const IniFile wide("[S]\nK=" + polish + "\n");
    EXPECT_EQ(wide.ReadString("S", "K", ""), polish.substr(0, 2047 * 2));

    const IniFile exact("[S]\nK=" + std::string(2047, 'b') + "\n");
    EXPECT_EQ(exact.ReadString("S", "K", "").size(), 2047u);
}

TEST(IniFileRead, TextThatIsNotIniLoadsWhatItCan) {
    std::mt19937 rng(5);
    std::string binary(200000, '\0');
    for (char& c : binary) c = static_cast<char>(rng());
    binary += "\n[Config]\nTUnits=3\n";
    const IniFile garbage(binary);
    EXPECT_EQ(garbage.ReadInteger("Config", "TUnits", 0), 3);
    EXPECT_EQ(garbage.ReadString("Nothing", "X", "d"), "d");

    const IniFile longLine("[Config]\nTSense=" + std::string(5'000'000, '7') + "\n" +
                           std::string(3'000'000, '[') + "\n");
    EXPECT_EQ(longLine.ReadString("Config", "TSense", "").size(), 2047u);
    EXPECT_EQ(longLine.ReadInteger("Config", "TSense", -1), -1);

    const IniFile prose("This is a letter.\nDear Sir = Madam,\n\n  regards\n");
    EXPECT_FALSE(prose.SectionExists("Config"));
    EXPECT_EQ(prose.ReadInteger("Config", "Decp", 1), 1);
}

TEST(IniFileWrite, ReplacesWhereItStandsAppendsToItsSectionAndLeavesTheRestAlone) {
    IniFile ini(
        "; settings of the line 3 amplifier\r\n"
        "[Config]\r\n"
        "TUnits = 1\r\n"
        "Custom=kept\r\n"
        "\r\n"
        "[Other]\r\n"
        "x=1\r\n");
    ASSERT_TRUE(ini.WriteInteger("config", "TUNITS", 4));
    ASSERT_TRUE(ini.WriteString("Config", "TSense", "2.0000"));
    ASSERT_TRUE(ini.WriteString("Other", "y", "2"));
    ASSERT_TRUE(ini.WriteBool("New", "Flag", true));
    EXPECT_EQ(ini.Text(),
              "; settings of the line 3 amplifier\r\n"
              "[Config]\r\n"
              "TUnits=4\r\n"
              "Custom=kept\r\n"
              "TSense=2.0000\r\n"
              "\r\n"
              "[Other]\r\n"
              "x=1\r\n"
              "y=2\r\n"
              "[New]\r\n"
              "Flag=1\r\n");
}

TEST(IniFileWrite, NewLinesTakeTheFileLineEnd) {
    IniFile lf("[A]\nk=1");  // LF, and no line end after the last line
    lf.WriteString("A", "m", "2");
    lf.WriteString("B", "n", "3");
    EXPECT_EQ(lf.Text(), "[A]\nk=1\nm=2\n[B]\nn=3\n");

    IniFile empty;
    empty.WriteString("A", "k", "1");
    EXPECT_EQ(empty.Text(), "[A]\r\nk=1\r\n");

    IniFile headerOnly("[A]\r\n\r\n; about B\r\n[B]\r\n");
    headerOnly.WriteString("A", "k", "1");
    headerOnly.WriteString("A", "m", "2");
    EXPECT_EQ(headerOnly.Text(), "[A]\r\nk=1\r\nm=2\r\n\r\n; about B\r\n[B]\r\n");
}

TEST(IniFileWrite, EveryValueReadsBackAsWritten) {
    // Blanks around a value and a value in quotes of its own would be changed by the reader;
    // they are stored in quotes that the reader removes.
    const char* values[] = {" x", "x ", "\"a\"", "'b'", "\"", "plain", "", "a \"q\" b"};
    IniFile ini;
    for (const char* v : values) {
        ASSERT_TRUE(ini.WriteString("n", "k", v));
        EXPECT_EQ(IniFile(ini.Text()).ReadString("n", "k", "?"), v) << "[" << v << "]";
    }
    ASSERT_TRUE(ini.WriteString("n", "k", "plain"));
    EXPECT_NE(ini.Text().find("k=plain"), std::string::npos);
}

TEST(IniFileWrite, RefusesWhatTheFileCouldNotHold) {
    IniFile ini("[A]\nk=1\n");
    const std::string before = ini.Text();
    EXPECT_FALSE(ini.WriteString("A", "k", "two\nlines"));
    EXPECT_FALSE(ini.WriteString("A", "a=b", "1"));
    EXPECT_FALSE(ini.WriteString("A", " ", "1"));
    EXPECT_FALSE(ini.WriteString("A", "[x", "1"));
    EXPECT_FALSE(ini.WriteString("A", ";x", "1"));
    EXPECT_FALSE(ini.WriteString("A]", "k", "1"));
    EXPECT_FALSE(ini.WriteString("", "k", "1"));
    EXPECT_FALSE(ini.WriteString("A\r", "k", "1"));
    EXPECT_EQ(ini.Text(), before);
}

class IniFileOnDisk : public ::testing::Test {
  protected:
    TempFolder dir;
    fs::path file = dir.path / "settings.cfg";
    const std::string old = "[Config]\r\nTUnits=1\r\n";

    IniFile Changed() {
        IniFile ini(old);
        ini.WriteInteger("Config", "TUnits", 5);
        return ini;
    }
    void ExpectOldFileWholeAndNoTemporaryLeft() {
        EXPECT_EQ(ReadAll(file), old);
        ExpectNoTemporaryLeft();
    }
    void ExpectNoTemporaryLeft() {
        for (const auto& e : fs::directory_iterator(file.parent_path())) {
            EXPECT_EQ(e.path().filename(), file.filename()) << "left behind: " << e.path();
        }
    }
};

TEST_F(IniFileOnDisk, SaveAndLoad) {
    WriteAll(file, old);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    std::string error;
    ASSERT_TRUE(Changed().Save(file.string(), &error)) << error;
    EXPECT_EQ(ReadAll(file), "[Config]\r\nTUnits=5\r\n");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    IniFile back;
    EXPECT_EQ(back.LoadFile(file.string()), IniFile::LoadResult::Loaded);
    EXPECT_EQ(back.ReadInteger("Config", "TUnits", 0), 5);
    ExpectNoTemporaryLeft();
}

TEST_F(IniFileOnDisk, ASaveRemovesTheTemporariesOfKilledSavesOnly) {
    WriteAll(file, old);
    const std::string name = file.filename().string();
    const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
    const fs::path stale = dir.path / ("." + name + ".1a2b3c.tmp");
    const fs::path running = dir.path / ("." + name + ".4d5e.tmp");  // a save going on now
    const fs::path other = dir.path / ".other.cfg.1a2b.tmp";
    const fs::path notOurs = dir.path / ("." + name + ".backup.tmp");
    for (const auto& p : {stale, running, other, notOurs}) WriteAll(p, "x");
    for (const auto& p : {stale, other, notOurs}) fs::last_write_time(p, hourAgo);

    ASSERT_TRUE(Changed().Save(file.string()));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(notOurs));
    EXPECT_EQ(ReadAll(file), "[Config]\r\nTUnits=5\r\n");
}

TEST_F(IniFileOnDisk, LoadOfAMissingFileOrAFolder) {
    IniFile ini("[A]\nk=1\n");
    EXPECT_EQ(ini.LoadFile((dir.path / "none.cfg").string()), IniFile::LoadResult::Missing);
    EXPECT_EQ(ini.Text(), "");
    std::string error;
    EXPECT_EQ(ini.LoadFile(dir.path.string(), &error), IniFile::LoadResult::Failed);
    EXPECT_NE(error.find(dir.path.string()), std::string::npos);
}

TEST_F(IniFileOnDisk, SaveThroughALinkReplacesItsTarget) {
    WriteAll(file, old);
    const fs::path link = dir.path / "link.cfg";
    fs::create_symlink(file, link);
    ASSERT_TRUE(Changed().Save(link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(file), "[Config]\r\nTUnits=5\r\n");
}

TEST_F(IniFileOnDisk, FailedSavesLeaveTheOldFileWhole) {
    WriteAll(file, old);
    std::string error;
    // A folder that does not exist.
    const fs::path nowhere = dir.path / "no such folder" / "x.cfg";
    EXPECT_FALSE(Changed().Save(nowhere.string(), &error));
    EXPECT_EQ(error, "Unable to write to " + nowhere.string());

    // The rename fails: the target is a folder.
    const fs::path folder = dir.path / "folder.cfg";
    fs::create_directory(folder);
    EXPECT_FALSE(Changed().Save(folder.string(), &error));
    EXPECT_EQ(error, "Unable to write to " + folder.string());
    EXPECT_TRUE(fs::is_directory(folder));
    fs::remove(folder);
    ExpectOldFileWholeAndNoTemporaryLeft();
}

TEST_F(IniFileOnDisk, AWriteCutShortLeavesTheOldFileWhole) {
    WriteAll(file, old);
    IniFile big(old);
    big.WriteString("Config", "Long", std::string(100000, 'x'));

    // The disk "fills up" after 4 KiB.
    std::string error;
    bool saved_ok = true;
    {
        test::FileSizeLimit limit(4096);
        saved_ok = big.Save(file.string(), &error);
    }
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(error, "Unable to write to " + file.string());
    ExpectOldFileWholeAndNoTemporaryLeft();
}

TEST_F(IniFileOnDisk, SaveIntoAReadOnlyFolder) {
    WriteAll(file, old);
    fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(dir.path.c_str(), W_OK) == 0) {
        fs::permissions(dir.path, fs::perms::owner_all);
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    std::string error;
    EXPECT_FALSE(Changed().Save(file.string(), &error));
    fs::permissions(dir.path, fs::perms::owner_all);
    EXPECT_EQ(error, "Unable to write to " + file.string());
    ExpectOldFileWholeAndNoTemporaryLeft();
}

}  // namespace
}  // namespace karvo
