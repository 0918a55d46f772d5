#include "app/options.h"

#include <gtest/gtest.h>

#include "app/language.h"
#include "settings/ini_file.h"

namespace karvo {
namespace {

TEST(Options, DefaultsWithoutAFileAndTheElevenKeysWritten) {
    const IniFile none;
    const AppOptions o = AppOptions::Read(none);
    EXPECT_FALSE(o.Checkbox_DataAcquistion);
    EXPECT_EQ(o.DataAcquistionSpeed, 0);
    EXPECT_EQ(o.FileName, "pomiary.csv");
    EXPECT_TRUE(o.SaveDate && o.SaveTime && o.SaveDataCnt);
    EXPECT_FALSE(o.SaveDataSummary);
    EXPECT_TRUE(o.ChartSeries5);
    EXPECT_EQ(o.TimeSize, 1);
    EXPECT_EQ(o.Sampling, 2);
    EXPECT_EQ(o.Language, 0);

    IniFile out;
    o.WriteAtClosing(out);
    EXPECT_EQ(out.KeyNames("Options"),
              (std::vector<std::string>{"Checkbox_DataAcquistion", "DataAcquistionSpeed",
                                        "SaveDate", "SaveTime", "SaveDataCnt",
                                        "SaveDataSummary", "ChartSeries5", "TimeSize",
                                        "Sampling", "DecimalPoint", "Language"}));
    EXPECT_FALSE(out.ValueExists("Options", "FileName"));
}

TEST(Options, StoredValuesFollowTheIntegerRules) {
    const IniFile ini(
        "[options]\r\ncheckbox_dataacquistion=1\r\nSaveDate=2\r\nSaveTime=abc\r\n"
        "TimeSize=0x2\r\nDataAcquistionSpeed=9\r\nSaveDataCnt=0\r\nLanguage=1\r\n"
        "DecimalPoint=3\r\nFileName=C:\\dane\\x.csv\r\n");
    const AppOptions o = AppOptions::Read(ini);
    EXPECT_TRUE(o.Checkbox_DataAcquistion);
    EXPECT_TRUE(o.SaveDate);
    EXPECT_TRUE(o.SaveTime);  // unreadable: the default
    EXPECT_FALSE(o.SaveDataCnt);
    EXPECT_EQ(o.TimeSize, 2);
    EXPECT_EQ(o.DataAcquistionSpeed, 9);
    EXPECT_EQ(o.Language, 1);
    EXPECT_EQ(o.DecimalPoint, 0);  // never read
    EXPECT_EQ(o.FileName, "C:\\dane\\x.csv");
}

TEST(Options, RecordingFileNameRule) {
    const struct {
        const char* chosen;
        const char* stored;
    } cases[] = {
        {"data.txt", "data.txt.csv"},
        {"DATA.CSV", "DATA.CSV.csv"},
        {"data.csv", "data.csv"},
        {"/home/u/pomiary.d/data", "/home/u/pomiary.d/data.csv"},
        {"C:\\x.y\\data", "C:\\x.y\\data.csv"},
        {"C:data", "C:data.csv"},
        {"/tmp/.csv", "/tmp/.csv"},
    };
    for (const auto& c : cases) EXPECT_EQ(RecordingFileName(c.chosen), c.stored) << c.chosen;
}

TEST(Language, ApplyingTheActiveLanguageChangesNothing) {
    StringTable strings;
    Localizer loc(strings);
    EXPECT_TRUE(loc.Apply(1).empty());
    const auto english = loc.Apply(2);
    EXPECT_EQ(strings.Lookup("IDS_49"), "Tare ok");
    bool sawTab = false;
    for (const auto& c : english) {
        EXPECT_NE(c.control, "BitBtn3");  // empty English cell: stays "Info"
        EXPECT_NE(c.control, "Label_Status");
        if (c.control == "tab:TabSheet_Reads") {
            EXPECT_EQ(c.text, "Measurements");
            sawTab = true;
        }
    }
    EXPECT_TRUE(sawTab);
    EXPECT_TRUE(loc.Apply(2).empty());
}

TEST(Language, StoredOptionOutsideTheListFallsBackToPolish) {
    for (long long stored : {-1LL, 2LL, 1000LL}) EXPECT_EQ(Localizer::ListIndexForOption(stored), 0);
    EXPECT_EQ(Localizer::ListIndexForOption(0), 0);
    EXPECT_EQ(Localizer::ListIndexForOption(1), 1);
}

TEST(StringTableText, ChartTipsKeepTheBackslashAndN) {
    StringTable s;
    const std::string pl = s.Lookup("IDS_157");
    EXPECT_NE(pl.find("pomniejszyć.\\nPrawy"), std::string::npos);
    s.SetLanguage(StringTable::kEnglish);
    EXPECT_NE(s.Lookup("IDS_157").find("zoom out. \\ N Right"), std::string::npos);
    EXPECT_EQ(s.Lookup("IDS_88"), "Output = 0V for value: ");
}

}  // namespace
}  // namespace karvo
