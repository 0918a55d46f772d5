#include "settings/config_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "settings/settings_fixture.h"
#include "settings/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::WriteAll;

const char* const kDesignFile =
    "[KARVP config ]\r\n"
    "Software version=1.04\r\n"
    "[Config]\r\n"
    "Decp=0\r\n"
    "TUnits=0\r\n"
    "TFilter=1\r\n"
    "TRate=0\r\n"
    "TOffset=0\r\n"
    "TSign=0\r\n"
    "TSense=0\r\n"
    "TRange=0\r\n"
    "AnalogMin=0\r\n"
    "AnalogMax=0\r\n"
    "AnalogAbs=0\r\n"
    "ModbusAddress=0\r\n"
    "ModbusBaud=2\r\n"
    "ModbusParity=0\r\n";

class ConfigFileTest : public test::SettingsFixture {
  protected:
    test::TempFolder dir;
    std::string file = (dir.path / "amplifier.cfg").string();

    void Save(const std::string& path) {
        dialogs.files.push_back(path);
        form.SaveConfigFileClick();
    }
    void Load(const std::string& path) {
        dialogs.files.push_back(path);
        form.OpenConfigFileClick();
    }
    void LoadText(const std::string& text) {
        WriteAll(file, text);
        Load(file);
    }
    // A page unlike the design state in every control that the file holds.
    void EditEverything() {
        SettingsPageValues& p = page();
        form.SetDecimals(3);
        p.TensUnits = 5;
        p.TensFilter = 4;
        p.TensDataRate = 3;
        p.TOffset.text = "-12.345";
        p.Tens1Sign = true;
        p.TSens.text = "1,9999";
        p.TRange.text = "abc";  // stored as it stands, checked only by a write
        p.AnalogMin.text = "-1.000";
        p.AnalogMax.text = "2500.000";
        p.AnalogAbsolute = true;
        p.ModbusAddress = 246;
        p.ModbusBaud = 4;
        p.ModbusParity = 1;
    }
    void ExpectDefaults() {
        const SettingsPageValues& p = page();
        EXPECT_EQ(p.TensDecp, 1);
        EXPECT_EQ(p.TensUnits, 0);
        EXPECT_EQ(p.TensFilter, 1);
        EXPECT_EQ(p.TensDataRate, 1);
        EXPECT_EQ(p.TOffset.text, "0");
        EXPECT_FALSE(p.Tens1Sign);
        EXPECT_EQ(p.TSens.text, "2.000");
        EXPECT_EQ(p.TRange.text, "500");
        EXPECT_EQ(p.AnalogMin.text, "0");
        EXPECT_EQ(p.AnalogMax.text, "500");
        EXPECT_FALSE(p.AnalogAbsolute);
        EXPECT_EQ(p.ModbusAddress, 0);
        EXPECT_EQ(p.ModbusBaud, 1);
        EXPECT_EQ(p.ModbusParity, 0);
        EXPECT_EQ(shared.Decimals, 1);
    }
};

TEST_F(ConfigFileTest, TheDesignStateGivesTheSeventeenLineFile) {
    Save(file);
    EXPECT_EQ(ReadAll(file), kDesignFile);
    EXPECT_TRUE(dialogs.boxes.empty());

    ASSERT_EQ(dialogs.requests.size(), 1u);
    const FileDialogRequest& r = dialogs.requests[0];
    EXPECT_EQ(r.title, "");
    EXPECT_EQ(r.filter, "KARVP  config|*.cfg");
    EXPECT_EQ(r.fileName, "KARVP_config");
    EXPECT_EQ(r.defaultExt, "cfg");
    EXPECT_TRUE(r.overwritePrompt);

    Load(file);
    const FileDialogRequest& o = dialogs.requests[1];
    EXPECT_EQ(o.title, "Plik konfiguracyjny");
    EXPECT_EQ(o.filter, "KARVP config|*.cfg");
    EXPECT_EQ(o.fileName, "");
    EXPECT_EQ(o.defaultExt, "");
    EXPECT_FALSE(o.overwritePrompt);
}

TEST_F(ConfigFileTest, SaveThenLoadGivesBackThePage) {
    EditEverything();
    const SettingsPageValues saved = page();
    Save(file);
    form.Page() = SettingsPageValues{};
    form.SetDecimals(0);
    Load(file);
    const SettingsPageValues& p = page();
    EXPECT_EQ(p.TensDecp, saved.TensDecp);
    EXPECT_EQ(shared.Decimals, 3);
    EXPECT_EQ(p.TensUnits, saved.TensUnits);
    EXPECT_EQ(p.TensFilter, saved.TensFilter);
    EXPECT_EQ(p.TensDataRate, saved.TensDataRate);
    EXPECT_EQ(p.TOffset.text, saved.TOffset.text);
    EXPECT_EQ(p.Tens1Sign, saved.Tens1Sign);
    EXPECT_EQ(p.TSens.text, saved.TSens.text);
    EXPECT_EQ(p.TRange.text, saved.TRange.text);
    EXPECT_EQ(p.AnalogMin.text, saved.AnalogMin.text);
    EXPECT_EQ(p.AnalogMax.text, saved.AnalogMax.text);
    EXPECT_EQ(p.AnalogAbsolute, saved.AnalogAbsolute);
    EXPECT_EQ(p.ModbusAddress, saved.ModbusAddress);
    EXPECT_EQ(p.ModbusBaud, saved.ModbusBaud);
    EXPECT_EQ(p.ModbusParity, saved.ModbusParity);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ConfigFileTest, SavingOverAFileKeepsWhatElseItHolds) {
    WriteAll(file,
             "; prepared for line 3\n"
             "[Config]\n"
             "TSense=9,9\n"
             "Operator=Kowalski\n"
             "\n"
             "[Notes]\n"
             "text=keep me\n");
    page().TSens.text = "2.5000";
    Save(file);
    EXPECT_EQ(ReadAll(file),
              "; prepared for line 3\n"
              "[Config]\n"
              "TSense=2.5000\n"
              "Operator=Kowalski\n"
              "Decp=0\n"
              "TUnits=0\n"
              "TFilter=1\n"
              "TRate=0\n"
              "TOffset=0\n"
              "TSign=0\n"
              "TRange=0\n"
              "AnalogMin=0\n"
              "AnalogMax=0\n"
              "AnalogAbs=0\n"
              "ModbusAddress=0\n"
              "ModbusBaud=2\n"
              "ModbusParity=0\n"
              "\n"
              "[Notes]\n"
              "text=keep me\n"
              "[KARVP config ]\n"
              "Software version=1.04\n");
}

TEST_F(ConfigFileTest, IndexesOutsideTheirListsLeaveNoSelectionAndTheWriteIsRefused) {
    form.ShowSettings(TDeviceSettingsRecord{});
    LoadText("[Config]\nTUnits=9\nModbusBaud=57600\nDecp=4\nTFilter=-1\nTRate=0x2\n");
    EXPECT_EQ(page().TensUnits, -1);
    EXPECT_EQ(page().ModbusBaud, -1);
    EXPECT_EQ(page().TensFilter, -1);
    EXPECT_EQ(page().TensDecp, 4);
    EXPECT_EQ(page().TensDataRate, 2);
    EXPECT_EQ(shared.Decimals, 4);

    page().TSens.text = "2";
    page().TRange.text = "500";
    form.Btn_SetTensSettingsClick();
    EXPECT_TRUE(device.writes.empty());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, "Błędne parametry");
}

TEST_F(ConfigFileTest, TextsLoadUncheckedAndAreCheckedByTheWrite) {
    LoadText("[Config]\nTSense=abc\nTRange=1000\nTUnits=2\nModbusBaud=2\nTFilter=2\n");
    EXPECT_EQ(page().TSens.text, "abc");
    EXPECT_EQ(page().TSens.colour, colour::Window);
    form.Btn_SetTensSettingsClick();
    EXPECT_EQ(page().TSens.colour, colour::LightRed);
    EXPECT_TRUE(device.writes.empty());

    // Written under "," and loaded under ".": the write converts the separator.
    LoadText("[Config]\r\nTSense=2,0000\r\nTOffset=-1,5\r\nDecp=1\r\nModbusBaud=2\r\n");
    EXPECT_EQ(page().TSens.text, "2,0000");
    form.Btn_SetTensSettingsClick();
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(SentRecord().TSense, 2.0f);
    EXPECT_EQ(SentRecord().TOffset, -1.5f);
    EXPECT_EQ(SentRecord().TRange, 500u);  // the default text
    EXPECT_EQ(page().TSens.text, "2.0000");
    EXPECT_EQ(page().TOffset.text, "-1.5");
}

TEST_F(ConfigFileTest, MissingKeysAndFilesLoadTheDefaults) {
    EditEverything();
    Load((dir.path / "never saved.cfg").string());
    ExpectDefaults();
    EXPECT_TRUE(dialogs.boxes.empty());

    EditEverything();
    LoadText("[KARVP config ]\nSoftware version=9.99\n[Other]\nTUnits=3\n");
    ExpectDefaults();

    EditEverything();
    LoadText("[Config]\nDecp=one\nTSign=yes\nAnalogAbs=\nTUnits=3x\n");
    ExpectDefaults();

    LoadText("[config]\ntsign=-1\nANALOGABS=0x10\n");
    EXPECT_TRUE(page().Tens1Sign);
    EXPECT_TRUE(page().AnalogAbsolute);
}

TEST_F(ConfigFileTest, FilesThatAreNotConfigurationFilesLoadWhatTheyCan) {
    std::mt19937 rng(11);
    std::string binary(100000, '\0');
    for (char& c : binary) c = static_cast<char>(rng());
    EditEverything();
    LoadText(binary);
    ExpectDefaults();

    LoadText("[Config]\nTSense=" + std::string(1'000'000, '9') + "\nTUnits=4\n");
    EXPECT_EQ(page().TSens.text, std::string(2047, '9'));
    EXPECT_EQ(page().TensUnits, 4);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ConfigFileTest, LoadingSendsNothingAndLeavesColoursAndUnitTexts) {
    TDeviceSettingsRecord r;
    r.TUnits = 3;
    form.ShowSettings(r);
    page().TRange.colour = colour::LightRed;
    LoadText("[Config]\nTUnits=1\nTRange=100\n");
    EXPECT_TRUE(device.writes.empty());
    EXPECT_EQ(page().TRange.colour, colour::LightRed);
    EXPECT_EQ(page().TensUnits, 1);
    EXPECT_EQ(shared.UnitSuffix, " kg");
    EXPECT_EQ(form.Labels().Label31(), " kg");
}

TEST_F(ConfigFileTest, CancelInEitherDialogDoesNothing) {
    EditEverything();
    form.SaveConfigFileClick();
    form.OpenConfigFileClick();
    EXPECT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(page().TensUnits, 5);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(fs::is_empty(dir.path));
}

TEST_F(ConfigFileTest, AFailedSaveLeavesTheOldFileWholeAndSaysSo) {
    WriteAll(file, kDesignFile);
    EditEverything();
    const SettingsPageValues before = page();
    {
        test::FileSizeLimit limit(64);  // the disk fills up part way
        Save(file);
    }
    EXPECT_EQ(ReadAll(file), kDesignFile);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Unable to write to " + file);
    EXPECT_EQ(dialogs.boxes[0].caption, "MERON");
    EXPECT_EQ(dialogs.boxes[0].flags, 16);
    EXPECT_EQ(page().TSens.text, before.TSens.text);
    EXPECT_EQ(page().TensUnits, before.TensUnits);
    for (const auto& e : fs::directory_iterator(dir.path)) {
        EXPECT_EQ(e.path().string(), file) << "left behind";
    }
}

TEST_F(ConfigFileTest, ASaveIntoAReadOnlyFolder) {
    WriteAll(file, kDesignFile);
    EditEverything();
    fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(dir.path.c_str(), W_OK) == 0) {
        fs::permissions(dir.path, fs::perms::owner_all);
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    Save(file);
    fs::permissions(dir.path, fs::perms::owner_all);
    EXPECT_EQ(ReadAll(file), kDesignFile);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Unable to write to " + file);
}

TEST_F(ConfigFileTest, AFileThatCannotBeReadIsNeitherLoadedNorReplaced) {
    const std::string folder = (dir.path / "folder.cfg").string();
    fs::create_directory(folder);
    EditEverything();
    Load(folder);
    EXPECT_EQ(page().TensUnits, 5);  // unchanged, not the defaults
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("Unable to read " + folder), std::string::npos);
    EXPECT_EQ(dialogs.boxes[0].caption, "MERON");

    Save(folder);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, "Unable to write to " + folder);
    EXPECT_TRUE(fs::is_directory(folder));
}

}  // namespace
}  // namespace karvo
