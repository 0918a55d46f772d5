#include "settings/settings_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_fixture.h"
#include "support/hex.h"

namespace karvo {
namespace {

using test::Hex;
using test::HexPadded;

class SettingsFormTest : public test::SettingsFixture {};

class SettingsFormCommaTest : public test::SettingsFixture {
  protected:
    SettingsFormCommaTest() : SettingsFixture(NumberLocale{",", " "}) {}
};

// A record that passes every check.
TDeviceSettingsRecord Valid() {
    TDeviceSettingsRecord r;
    r.TSense = 2.0f;
    r.TRange = 500;
    r.TFilter = 8;
    r.TSign = 1;
    r.ModbusBaud = 38400;
    r.ModbusAddress = 1;
    return r;
}

TEST_F(SettingsFormTest, ShowSettingsLimitsIndexesAndLeavesUnlistedValuesAlone) {
    struct Case {
        const char* name;
        void (*set)(TDeviceSettingsRecord&);
        int SettingsPageValues::*list;
        int expected;
    } const cases[] = {
        {"TUnits 5", [](TDeviceSettingsRecord& r) { r.TUnits = 5; }, &SettingsPageValues::TensUnits,
         5},
        {"TUnits 200", [](TDeviceSettingsRecord& r) { r.TUnits = 200; },
         &SettingsPageValues::TensUnits, 5},
        {"TRate 9", [](TDeviceSettingsRecord& r) { r.TRate = 9; },
         &SettingsPageValues::TensDataRate, 5},
        {"Parity 5", [](TDeviceSettingsRecord& r) { r.ModbusParity = 5; },
         &SettingsPageValues::ModbusParity, 2},
        {"Address 0", [](TDeviceSettingsRecord& r) { r.ModbusAddress = 0; },
         &SettingsPageValues::ModbusAddress, 0},
        {"Address 1", [](TDeviceSettingsRecord& r) { r.ModbusAddress = 1; },
         &SettingsPageValues::ModbusAddress, 0},
        {"Address 247", [](TDeviceSettingsRecord& r) { r.ModbusAddress = 247; },
         &SettingsPageValues::ModbusAddress, 246},
        {"Address 255", [](TDeviceSettingsRecord& r) { r.ModbusAddress = 255; },
         &SettingsPageValues::ModbusAddress, 246},
        {"TFilter 0", [](TDeviceSettingsRecord& r) { r.TFilter = 0; },
         &SettingsPageValues::TensFilter, 0},
        {"TFilter 256", [](TDeviceSettingsRecord& r) { r.TFilter = 256; },
         &SettingsPageValues::TensFilter, 5},
        {"TFilter 16", [](TDeviceSettingsRecord& r) { r.TFilter = 16; },
         &SettingsPageValues::TensFilter, 3},
        {"Baud 115200", [](TDeviceSettingsRecord& r) { r.ModbusBaud = 115200; },
         &SettingsPageValues::ModbusBaud, 4},
        {"Baud 4800", [](TDeviceSettingsRecord& r) { r.ModbusBaud = 4800; },
         &SettingsPageValues::ModbusBaud, 0},
    };
    for (const Case& c : cases) {
        page().TensFilter = 3;  // what an unlisted filter or baud must leave in place
        page().ModbusBaud = 0;
        TDeviceSettingsRecord r = Valid();
        c.set(r);
        form.ShowSettings(r);
        EXPECT_EQ(page().*c.list, c.expected) << c.name;
    }

    // An unlisted baud rate still lets parity and address be filled.
    page().ModbusBaud = 1;
    TDeviceSettingsRecord r = Valid();
    r.ModbusBaud = 4800;
    r.ModbusParity = 1;
    r.ModbusAddress = 17;
    form.ShowSettings(r);
    EXPECT_EQ(page().ModbusBaud, 1);
    EXPECT_EQ(page().ModbusParity, 1);
    EXPECT_EQ(page().ModbusAddress, 16);
}

TEST_F(SettingsFormCommaTest, ShowSettingsFormatsTheTypedFields) {
    TDeviceSettingsRecord r = Valid();
    r.TSense = 1.98765f;
    r.TRange = 0xFFFFFFFFu;  // shown as the signed value
    r.TOffset = 12.345f;
    r.AnalogMin = -0.5f;
    r.AnalogMax = 1234.5678f;
    form.SetDecimals(2);
    form.ShowSettings(r);
    EXPECT_EQ(page().TSens.text, "1,9880");
    EXPECT_EQ(page().TRange.text, "-1");
    EXPECT_EQ(page().TOffset.text, "12,35");
    EXPECT_EQ(page().AnalogMin.text, "-0,50");
    EXPECT_EQ(page().AnalogMax.text, "1234,57");

    r.TSense = 2.0f;
    form.SetDecimals(0);
    form.ShowSettings(r);
    EXPECT_EQ(page().TSens.text, "2,0000");
    EXPECT_EQ(page().TOffset.text, "12");
}

TEST_F(SettingsFormTest, SignAndModeAndAbsoluteBoxes) {
    struct Case {
        std::int8_t sign;
        std::uint8_t mode, abs;
        bool signChecked, voltage, absChecked;
    } const cases[] = {
        {-1, 0, 0, true, true, false},
        {0, 1, 1, false, false, true},
        {1, 2, 7, false, false, true},
        {127, 0, 0, false, true, false},
    };
    for (const auto& c : cases) {
        TDeviceSettingsRecord r = Valid();
        r.TSign = c.sign;
        r.AnalogMode = c.mode;
        r.AnalogAbs = c.abs;
        form.ShowSettings(r);
        EXPECT_EQ(page().Tens1Sign, c.signChecked) << int{c.sign};
        EXPECT_EQ(page().Amode010V, c.voltage) << int{c.mode};
        EXPECT_EQ(page().Amode420mA, !c.voltage) << int{c.mode};
        EXPECT_EQ(page().AnalogAbsolute, c.absChecked) << int{c.abs};
    }
}

TEST_F(SettingsFormTest, TheWriteSendsTheWholeRecordByteForByte) {
    SettingsPageValues& p = page();
    p.TensUnits = 3;
    p.TSens.text = "2,5";
    p.TRange.text = "500";
    p.TensDecp = 1;
    p.TOffset.text = "1.5";
    p.TensDataRate = 2;
    p.TensFilter = 4;
    p.Tens1Sign = true;
    p.Amode010V = false;
    p.Amode420mA = true;
    p.AnalogAbsolute = true;
    p.AnalogMin.text = "-10";
    p.AnalogMax.text = "500";
    p.ModbusBaud = 4;
    p.ModbusParity = 2;
    p.ModbusAddress = 246;

    form.Btn_SetTensSettingsClick();

    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Zapisać ustawienia?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Ustawienia");
    EXPECT_EQ(dialogs.boxes[0].flags, 33);
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0], HexPadded("01 8A"
                                          " 00 00 20 40"              // TSense 2.5
                                          " F4 01 00 00"              // TRange 500
                                          " 00 00 C0 3F"              // TOffset 1.5
                                          " 02 00"                    // TRate
                                          " 80 00"                    // TFilter 128
                                          " 03 FF"                    // TUnits kg, TSign -1
                                          " 00 00 20 C1"              // AnalogMin -10
                                          " 00 00 FA 43"              // AnalogMax 500
                                          " 00 00 80 3F 00 00 80 3F"  // factors 1.0
                                          " 01 01"                    // 4-20 mA, absolute
                                          " 00 C2 01 00"              // 115200
                                          " 02 F7",                   // even, address 247
                                          65));
    EXPECT_EQ(p.TSens.text, "2.5000");
    EXPECT_EQ(p.TOffset.text, "1.5");
    EXPECT_EQ(p.AnalogMin.text, "-10.0");
}

TEST_F(SettingsFormTest, AWriteStraightAfterASettingsReply) {
    TDeviceSettingsRecord r = Valid();
    r.TSense = 1.98765f;  // shown as 1.9880: the text is what is written
    r.TSign = 0;
    r.AnalogMode = 2;
    r.TFilter = 256;
    r.ModbusBaud = 9600;
    r.ModbusAddress = 0;
    form.ShowSettings(r);
    form.Btn_SetTensSettingsClick();
    const TDeviceSettingsRecord sent = SentRecord();
    EXPECT_EQ(sent.TSense, 1.988f);
    EXPECT_EQ(sent.TSign, 1);
    EXPECT_EQ(sent.AnalogMode, 1);
    EXPECT_EQ(sent.TFilter, 256);
    EXPECT_EQ(sent.ModbusBaud, 9600u);
    EXPECT_EQ(sent.ModbusAddress, 1);
    EXPECT_EQ(sent.AnalogFactor1, 1.0f);
    EXPECT_EQ(sent, record());
}

TEST_F(SettingsFormTest, AnInvalidFieldFillsTheRestOfTheRecordAndSendsNothing) {
    form.ShowSettings(Valid());
    record().TRange = 777;
    page().TRange.text = "0";
    page().TSens.text = "3.25";
    page().TensUnits = 4;
    page().Tens1Sign = true;
    page().TOffset.text = "1.7";  // 0 decimals: shows 2, stores 1.7

    form.Btn_SetTensSettingsClick();

    EXPECT_TRUE(device.writes.empty());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, "Błędne parametry");
    EXPECT_EQ(dialogs.boxes[1].caption, "Warning");
    EXPECT_EQ(dialogs.boxes[1].flags, 48);
    EXPECT_EQ(page().TRange.colour, colour::LightRed);
    EXPECT_EQ(page().TRange.text, "0");
    EXPECT_EQ(page().TSens.colour, colour::Window);
    EXPECT_EQ(record().TRange, 777u);
    EXPECT_EQ(record().TSense, 3.25f);
    EXPECT_EQ(record().TUnits, 4);
    EXPECT_EQ(record().TSign, -1);
    EXPECT_EQ(record().TOffset, 1.7f);
    EXPECT_EQ(page().TOffset.text, "2");
    EXPECT_EQ(record().AnalogFactor2, 1.0f);
}

TEST_F(SettingsFormTest, EveryInvalidFieldTurnsRedInOnePass) {
    page().TRange.text = "500.0";
    page().TSens.text = "0.05";
    page().TOffset.text = "abc";
    page().AnalogMin.text = "-1000000";
    page().AnalogMax.text = "";
    form.Btn_SetTensSettingsClick();
    EXPECT_TRUE(device.writes.empty());
    for (const EntryField* f :
         {&page().TRange, &page().TSens, &page().TOffset, &page().AnalogMin, &page().AnalogMax}) {
        EXPECT_EQ(f->colour, colour::LightRed) << f->text;
    }
    EXPECT_EQ(page().TSens.text, "0.0500");
    EXPECT_EQ(page().TOffset.text, "abc");
    EXPECT_EQ(page().AnalogMin.text, "-1000000");

    // Corrected, the next write passes and every field is back to normal.
    page().TRange.text = "500";
    page().TSens.text = "0,1";
    page().TOffset.text = "0";
    page().AnalogMin.text = "-999999";
    page().AnalogMax.text = "999999";
    form.Btn_SetTensSettingsClick();
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(page().TSens.text, "0.1000");
    EXPECT_EQ(SentRecord().TSense, 0.1f);
    for (const EntryField* f :
         {&page().TRange, &page().TSens, &page().TOffset, &page().AnalogMin, &page().AnalogMax}) {
        EXPECT_EQ(f->colour, colour::Window);
    }
}

TEST_F(SettingsFormTest, CancelTouchesNothing) {
    form.ShowSettings(Valid());
    page().TSens.text = "0.05";
    page().TSens.colour = colour::YellowGreen;
    page().TRange.text = "0";
    const SettingsPageValues before = page();
    const TDeviceSettingsRecord recordBefore = record();
    dialogs.answers.push_back(mb::ResultCancel);
    form.Btn_SetTensSettingsClick();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(device.writes.empty());
    EXPECT_EQ(record(), recordBefore);
    EXPECT_EQ(page().TSens.text, before.TSens.text);
    EXPECT_EQ(page().TSens.colour, colour::YellowGreen);
    EXPECT_EQ(page().TRange.colour, colour::Window);
}

TEST_F(SettingsFormTest, AListWithoutSelectionRefusesTheWrite) {
    int SettingsPageValues::*const lists[] = {
        &SettingsPageValues::TensUnits,    &SettingsPageValues::TensFilter,
        &SettingsPageValues::TensDataRate, &SettingsPageValues::ModbusAddress,
        &SettingsPageValues::ModbusBaud,   &SettingsPageValues::ModbusParity,
        &SettingsPageValues::TensDecp,
    };
    for (auto list : lists) {
        form.ShowSettings(Valid());
        form.SetDecimals(0);
        dialogs.boxes.clear();
        record() = Valid();
        page().*list = -1;
        form.Btn_SetTensSettingsClick();
        EXPECT_TRUE(device.writes.empty());
        ASSERT_EQ(dialogs.boxes.size(), 2u);
        EXPECT_EQ(dialogs.boxes[1].flags, 48);
        // The field behind the list keeps what it held.
        EXPECT_EQ(record().TFilter, 8);
        EXPECT_EQ(record().ModbusBaud, 38400u);
        EXPECT_EQ(record().ModbusAddress, 1);
    }
    page().ModbusAddress = 247;  // past the end of the list
    form.Btn_SetTensSettingsClick();
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(SettingsFormTest, WithoutAnAmplifierTheWriteStillChecksAndFillsTheRecord) {
    link.State().Connected = false;
    form.ShowSettings(Valid());
    page().TSens.text = "4";
    form.Btn_SetTensSettingsClick();
    EXPECT_TRUE(device.writes.empty());
    EXPECT_EQ(dialogs.boxes.size(), 1u);  // only the question
    EXPECT_EQ(record().TSense, 4.0f);
    form.Btn_ReadSettingsClick();
    form.Button_TensSettingFactoryClick();
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(SettingsFormTest, ReadFactoryAndHelp) {
    form.Btn_ReadSettingsClick();
    form.Button_TensSettingFactoryClick();
    ASSERT_EQ(device.writes.size(), 2u);
    EXPECT_EQ(device.writes[0], HexPadded("01 01", 65));
    EXPECT_EQ(device.writes[1], HexPadded("01 8B", 65));
    EXPECT_TRUE(dialogs.boxes.empty());  // the factory restore asks nothing

    form.Btn_SensorConfigHelpClick();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "Parametr Stała czujnika (Rated Output, [mV/V]) oraz Zakres czujnika (Capacity, "
              "[N]) należy odczytać z karty katalogowej czujnika lub etykiety.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Konfiguracja czujnika");
    EXPECT_EQ(dialogs.boxes[0].flags, 64);
    EXPECT_EQ(device.writes.size(), 2u);
}

TEST_F(SettingsFormTest, CalibrationNeedsFirmware103) {
    struct Case {
        float version;
        bool opens;
    } const cases[] = {{0.0f, false},  {1.02f, false}, {1.028f, false},
                       {1.029f, true}, {1.03f, true},  {2.5f, true}};
    for (const Case& c : cases) {
        dialogs.boxes.clear();
        link.State().Info.FirmwareVersion = c.version;
        EXPECT_EQ(form.Btn_SensorCalibClick(), c.opens) << c.version;
        if (c.opens) {
            EXPECT_TRUE(dialogs.boxes.empty());
        } else {
            ASSERT_EQ(dialogs.boxes.size(), 1u) << c.version;
            EXPECT_EQ(dialogs.boxes[0].text,
                      "Funkcja dostępna dla urządzeń z wersją oprogramowania 1.03 lub wyższą.");
            EXPECT_EQ(dialogs.boxes[0].caption, "Informacja");
            EXPECT_EQ(dialogs.boxes[0].flags, 64);
        }
    }
}

TEST_F(SettingsFormTest, TheWizardsConstantIsMarkedUntilTheNextWrite) {
    form.ShowSettings(Valid());
    form.SetSensorConstantFromWizard("1.9999");
    EXPECT_EQ(page().TSens.text, "1.9999");
    EXPECT_EQ(page().TSens.colour, colour::YellowGreen);
    form.Btn_SetTensSettingsClick();
    EXPECT_EQ(page().TSens.colour, colour::Window);
    EXPECT_EQ(SentRecord().TSense, 1.9999f);
}

TEST_F(SettingsFormTest, UnitLabelsFollowTheReplyNotTheList) {
    EXPECT_EQ(form.Labels().Label31(), "[N]");
    EXPECT_EQ(shared.UnitSuffix, "");

    // No unit ever set and none selected: the labels go blank.
    page().TensUnits = -1;
    form.UpdateUnitLabels();
    EXPECT_EQ(form.Labels().Label31(), "");
    EXPECT_EQ(form.Labels().Label32(), "");

    TDeviceSettingsRecord r = Valid();
    r.TUnits = 3;
    form.ShowSettings(r);
    EXPECT_EQ(shared.UnitSuffix, " kg");
    EXPECT_EQ(form.Labels().Label31(), " kg");
    EXPECT_EQ(form.Labels().Label32(), " kg");

    page().TensUnits = 2;  // chosen by hand: nothing changes yet
    EXPECT_EQ(shared.UnitSuffix, " kg");
    form.UpdateUnitLabels();  // the write acknowledged
    EXPECT_EQ(shared.UnitSuffix, " g");
    EXPECT_EQ(form.Labels().Label32(), " g");

    page().TensUnits = -1;
    form.UpdateUnitLabels();
    EXPECT_EQ(shared.UnitSuffix, " g");
    EXPECT_EQ(form.Labels().Label31(), " g");

    const char* const expected[] = {" N", " kN", " g", " kg", " T", " F"};
    for (int u = 0; u < 6; ++u) {
        page().TensUnits = u;
        form.UpdateUnitLabels();
        EXPECT_EQ(shared.UnitSuffix, expected[u]);
    }
}

TEST_F(SettingsFormTest, AnalogCaptionsFollowAChangeOfTheOutputMode) {
    std::vector<std::string> groupCaptions;
    form.Labels().SetAnalogGroupCaptionSink(
        [&](const std::string& c) { groupCaptions.push_back(c); });

    TDeviceSettingsRecord r = Valid();
    form.ShowSettings(r);  // 0-10 V, as at start: nothing changes
    EXPECT_EQ(form.Labels().VoutMin(), "Wyjście = 0 dla wartości:");
    EXPECT_EQ(form.Labels().VoutMax(), "Wyjście = 10V dla wartości:");
    EXPECT_EQ(shared.OutputUnitSuffix, "");
    EXPECT_TRUE(groupCaptions.empty());

    r.AnalogMode = 1;
    form.ShowSettings(r);
    EXPECT_EQ(form.Labels().VoutMin(), "Wyjście = 4mA dla wartości: ");
    EXPECT_EQ(form.Labels().VoutMax(), "Wyjście = 20mA dla wartości: ");
    EXPECT_EQ(shared.OutputUnitSuffix, " mA");
    EXPECT_EQ(groupCaptions, std::vector<std::string>{"Wyjście analogowe (0)4-20mA"});

    form.ShowSettings(r);  // the same mode again refreshes nothing
    EXPECT_EQ(groupCaptions.size(), 1u);

    strings.SetLanguage(StringTable::kEnglish);
    r.AnalogMode = 0;
    form.ShowSettings(r);
    EXPECT_EQ(form.Labels().VoutMin(), "Output = 0V for value: ");
    EXPECT_EQ(form.Labels().VoutMax(), "Output = 10V for value: ");
    EXPECT_EQ(shared.OutputUnitSuffix, " V");
    EXPECT_EQ(groupCaptions.back(), "Wyjście analogowe 0-10V");

    r.AnalogMode = 1;
    form.ShowSettings(r);
    EXPECT_EQ(form.Labels().VoutMin(), "Output = 4mA for value: ");
    EXPECT_EQ(form.Labels().VoutMax(), "Output = 20mA for value: ");
    EXPECT_EQ(groupCaptions.back(), "Wyjście analogowe (0)4-20mA");
}

TEST_F(SettingsFormTest, SharedDecimalsFollowTheList) {
    EXPECT_EQ(shared.Decimals, 0);
    form.SetDecimals(3);
    EXPECT_EQ(shared.Decimals, 3);
    EXPECT_EQ(page().TensDecp, 3);
    form.SetDecimals(-1);
    EXPECT_EQ(shared.Decimals, -1);
}

}  // namespace
}  // namespace karvo
