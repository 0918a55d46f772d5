#include "settings/settings_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/qt_util.h"
#include "settings/temp_folder.h"
#include "support/fake_link_view.h"
#include "support/hex.h"
#include "support/scripted_dialogs.h"

namespace karvo {
namespace {

// Scripted answers, and one piece of work run while the next box is open, as a modal box's
// message loop would run a report that arrives meanwhile.
class ModalDialogs : public test::ScriptedDialogs {
  public:
    std::function<void()> whileOpen;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override {
        if (auto work = std::exchange(whileOpen, nullptr)) work();
        return ScriptedDialogs::MessageBox(text, caption, flags);
    }
};

class SettingsPageTest : public ::testing::Test {
  protected:
    SettingsPageTest()
        : link(view, strings, NumberLocale{".", ","}),
          page(link, shared, dialogs, strings, [this](const std::string& s) { status = s; }) {
        link.Bind(&device);
        link.State().Connected = true;
        page.FillModbusAddressList();
    }

    template <typename W>
    W* Find(const char* name) {
        W* w = page.findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* List(const char* name) { return Find<QComboBox>(name); }
    QString Label(const char* name) { return Find<QLabel>(name)->text(); }
    void Click(const char* name) { Find<QPushButton>(name)->click(); }

    static QStringList Items(QComboBox* c) {
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        return items;
    }

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

    test::FakeLinkView view;
    StringTable strings;
    test::RecordingDevice device;
    DeviceLink link;
    SharedDisplayState shared;
    ModalDialogs dialogs;
    std::string status;
    SettingsPage page;
};

TEST_F(SettingsPageTest, DesignState) {
    EXPECT_EQ(page.objectName(), QStringLiteral("TabSheet_Settings"));
    EXPECT_EQ(Items(List("Cb_TensUnits")), (QStringList{"N - niuton", "kN - kiloN", "g - gram",
                                                        "kg - kilogram", "T - tona", "F - funt"}));
    EXPECT_EQ(Items(List("Cb_TensFilter")), (QStringList{"0", "8", "32", "64", "128", "256"}));
    EXPECT_EQ(List("Cb_TensFilter")->currentText(), QStringLiteral("8"));
    EXPECT_EQ(Items(List("Cb_TensDataRate")),
              (QStringList{"4 / sek.", "10 / sek.", "33  / sek.", "50  / sek.", "62  / sek.",
                           "123  / sek."}));
    EXPECT_EQ(Items(List("Cb_ModbusBaud")),
              (QStringList{"9600", "19200", "38400", "57600", "115200"}));
    EXPECT_EQ(List("Cb_ModbusBaud")->currentText(), QStringLiteral("38400"));
    EXPECT_EQ(Items(List("Cb_ModbusParity")), (QStringList{"None", "Odd", "Even"}));
    EXPECT_EQ(Items(List("Cb_TensDecp")), (QStringList{"0", "1", "2", "3", "4"}));
    EXPECT_EQ(List("Cb_TensDecp")->currentIndex(), 0);

    QComboBox* address = List("Cb_ModbusAddress");
    ASSERT_EQ(address->count(), 247);
    EXPECT_EQ(address->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(address->itemText(246), QStringLiteral("247"));
    EXPECT_EQ(address->currentIndex(), 0);

    for (const char* name :
         {"Edit_TSens", "Edit_TRange", "Edit_TOffset", "Edit_AnalogMin", "Edit_AnalogMax"}) {
        EXPECT_EQ(Edit(name)->text(), QStringLiteral("0")) << name;
    }
    EXPECT_TRUE(Find<QRadioButton>("RB_amode010V")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("RB_amode420mA")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("RB_amode010V")->isEnabled());
    EXPECT_FALSE(Find<QRadioButton>("RB_amode420mA")->isEnabled());
    EXPECT_EQ(Find<QRadioButton>("RB_amode420mA")->text(), QStringLiteral("4 - 20mA"));
    EXPECT_FALSE(Find<QCheckBox>("CB_Tens1Sign")->isChecked());
    EXPECT_EQ(Find<QCheckBox>("CB_Tens1Sign")->text(), QStringLiteral("Odwróć znak"));
    EXPECT_EQ(Find<QCheckBox>("Cb_AnalogAbsolute")->text(), QStringLiteral("Wartość absolutna"));
    EXPECT_EQ(Label("Label_VoutMin"), QStringLiteral("Wyjście = 0 dla wartości:"));
    EXPECT_EQ(Label("Label_VoutMax"), QStringLiteral("Wyjście = 10V dla wartości:"));
    EXPECT_EQ(Label("Label31"), QStringLiteral("[N]"));
    EXPECT_EQ(Label("Label32"), QStringLiteral("[N]"));
    EXPECT_EQ(page.ADStatus()->objectName(), QStringLiteral("ADStatus"));
    EXPECT_EQ(page.ADStatus()->text(), QStringLiteral("OFF"));

    EXPECT_EQ(Find<QPushButton>("Btn_SetTensSettings")->text(), QStringLiteral("Zapisz"));
    EXPECT_EQ(Find<QPushButton>("Btn_ReadSettings")->text(), QStringLiteral("Odczytaj"));
    EXPECT_EQ(Find<QPushButton>("Button_TensSettingFactory")->text(),
              QStringLiteral("Przywróć fabryczne"));
    EXPECT_EQ(Find<QPushButton>("Btn_SensorCalib")->text(), QStringLiteral("Kalibracja"));
    EXPECT_FALSE(Find<QPushButton>("Btn_AnalogOutCalib")->isVisibleTo(&page));
    EXPECT_TRUE(Find<QPushButton>("Btn_SensorConfigHelp")->text().isEmpty());
    EXPECT_EQ(Find<QGroupBox>("GroupBox_Sensor")->title(),
              QStringLiteral("Wejście czujnika siły "));
    EXPECT_TRUE(Find<QGroupBox>("GroupBox_Modbus")->font().bold());
    EXPECT_FALSE(Find<QLabel>("Label_TensUnits")->font().bold());
    EXPECT_TRUE(Find<QLabel>("Label_TSensUnit")->font().bold());
}

TEST_F(SettingsPageTest, ASettingsReplyFillsTheControlsAndTheLabels) {
    QStringList captions;
    page.SetAnalogGroupCaptionHandler([&](const QString& c) { captions << c; });
    TDeviceSettingsRecord r = Valid();
    r.TUnits = 3;
    r.TSense = 1.98765f;
    r.TFilter = 16;  // unlisted: the list stays at "8"
    r.AnalogMode = 1;
    r.ModbusAddress = 255;
    r.ModbusParity = 5;
    r.TSign = -1;
    page.ShowSettings(r);

    EXPECT_EQ(List("Cb_TensUnits")->currentText(), QStringLiteral("kg - kilogram"));
    EXPECT_EQ(Edit("Edit_TSens")->text(), QStringLiteral("1.9880"));
    EXPECT_EQ(List("Cb_TensFilter")->currentText(), QStringLiteral("8"));
    EXPECT_EQ(List("Cb_ModbusAddress")->currentText(), QStringLiteral("247"));
    EXPECT_EQ(List("Cb_ModbusParity")->currentText(), QStringLiteral("Even"));
    EXPECT_TRUE(Find<QCheckBox>("CB_Tens1Sign")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("RB_amode420mA")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("RB_amode010V")->isChecked());
    EXPECT_EQ(Label("Label31"), QStringLiteral(" kg"));
    EXPECT_EQ(Label("Label_VoutMin"), QStringLiteral("Wyjście = 4mA dla wartości: "));
    EXPECT_EQ(Label("Label_VoutMax"), QStringLiteral("Wyjście = 20mA dla wartości: "));
    EXPECT_EQ(shared.OutputUnitSuffix, " mA");
    EXPECT_EQ(captions, QStringList{QStringLiteral("Wyjście analogowe (0)4-20mA")});

    r.AnalogMode = 0;
    page.ShowSettings(r);
    EXPECT_TRUE(Find<QRadioButton>("RB_amode010V")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("RB_amode420mA")->isChecked());
    EXPECT_EQ(captions.back(), QStringLiteral("Wyjście analogowe 0-10V"));
}

TEST_F(SettingsPageTest, TheDecimalsListDrivesTheSharedDecimals) {
    EXPECT_EQ(shared.Decimals, 0);
    List("Cb_TensDecp")->setCurrentIndex(2);  // as the user picks it
    EXPECT_EQ(shared.Decimals, 2);
    TDeviceSettingsRecord r = Valid();
    r.TOffset = 12.345f;
    page.ShowSettings(r);
    EXPECT_EQ(Edit("Edit_TOffset")->text(), QStringLiteral("12.35"));
    EXPECT_EQ(Edit("Edit_AnalogMin")->text(), QStringLiteral("0.00"));
}

TEST_F(SettingsPageTest, ZapiszSendsThePageOrMarksTheFieldsRed) {
    page.ShowSettings(Valid());
    Edit("Edit_TSens")->setText(QStringLiteral("0,1"));
    List("Cb_TensUnits")->setCurrentIndex(1);
    Find<QCheckBox>("Cb_AnalogAbsolute")->setChecked(true);
    Click("Btn_SetTensSettings");
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0], test::HexPadded("01 8A CD CC CC 3D F4 01 00 00 00 00 00 00"
                                                " 00 00 08 00 01 01 00 00 00 00 00 00 00 00"
                                                " 00 00 80 3F 00 00 80 3F 00 01"
                                                " 00 96 00 00 00 01",
                                                65));
    EXPECT_EQ(Edit("Edit_TSens")->text(), QStringLiteral("0.1000"));

    Edit("Edit_TRange")->setText(QStringLiteral("0"));
    Edit("Edit_AnalogMax")->setText(QStringLiteral("1e7"));
    Click("Btn_SetTensSettings");
    EXPECT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(BackgroundOf(Edit("Edit_TRange")), colour::LightRed);
    EXPECT_EQ(BackgroundOf(Edit("Edit_AnalogMax")), colour::LightRed);
    EXPECT_EQ(Edit("Edit_AnalogMax")->text(), QStringLiteral("10000000"));
    EXPECT_EQ(BackgroundOf(Edit("Edit_TSens")), colour::Window);
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[2].text, "Błędne parametry");
}

TEST_F(SettingsPageTest, AReplyArrivingWhileTheQuestionIsOpenIsWhatGetsWritten) {
    page.ShowSettings(Valid());
    Edit("Edit_TSens")->setText(QStringLiteral("3"));
    dialogs.whileOpen = [&] {
        TDeviceSettingsRecord r = Valid();
        r.TSense = 4.0f;
        r.ModbusAddress = 9;
        page.ShowSettings(r);
    };
    Click("Btn_SetTensSettings");
    ASSERT_EQ(device.writes.size(), 1u);
    const auto sent = TDeviceSettingsRecord::Decode(device.writes[0].data() + 2);
    EXPECT_EQ(sent.TSense, 4.0f);
    EXPECT_EQ(sent.ModbusAddress, 9);
    EXPECT_EQ(List("Cb_ModbusAddress")->currentText(), QStringLiteral("9"));

    // Inside the warning box the rewritten and red fields are kept.
    Edit("Edit_TRange")->setText(QStringLiteral("0"));
    Edit("Edit_TOffset")->setText(QStringLiteral("1.7"));
    dialogs.answers = {mb::ResultOk, mb::ResultOk};
    bool inWarning = false;
    dialogs.whileOpen = [&] {      // the question
        dialogs.whileOpen = [&] {  // the warning
            inWarning = true;
            page.UpdateUnitLabels();
        };
    };
    Click("Btn_SetTensSettings");
    EXPECT_TRUE(inWarning);
    EXPECT_EQ(BackgroundOf(Edit("Edit_TRange")), colour::LightRed);
    EXPECT_EQ(Edit("Edit_TOffset")->text(), QStringLiteral("2"));
}

TEST_F(SettingsPageTest, ButtonsAndTheFirmwareGate) {
    Click("Btn_ReadSettings");
    Click("Button_TensSettingFactory");
    ASSERT_EQ(device.writes.size(), 2u);
    EXPECT_EQ(device.writes[0][1], CmdReadSettings);
    EXPECT_EQ(device.writes[1][1], CmdRestoreFactory);

    Click("Btn_SensorConfigHelp");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Konfiguracja czujnika");

    int wizardOpened = 0;
    page.SetOpenSensorCalibration([&] { ++wizardOpened; });
    link.State().Info.FirmwareVersion = 1.028f;
    Click("Btn_SensorCalib");
    EXPECT_EQ(wizardOpened, 0);
    EXPECT_EQ(dialogs.boxes.back().caption, "Informacja");
    link.State().Info.FirmwareVersion = 1.029f;
    Click("Btn_SensorCalib");
    EXPECT_EQ(wizardOpened, 1);
    EXPECT_EQ(dialogs.boxes.size(), 2u);

    int analogOpened = 0;
    page.SetOpenAnalogCalibration([&] { ++analogOpened; });
    page.Btn_AnalogOutCalibClick();
    EXPECT_EQ(analogOpened, 1);
}

TEST_F(SettingsPageTest, TheWizardsConstant) {
    page.SetSensorConstantFromWizard(QStringLiteral("1.9999"));
    EXPECT_EQ(Edit("Edit_TSens")->text(), QStringLiteral("1.9999"));
    EXPECT_EQ(BackgroundOf(Edit("Edit_TSens")), colour::YellowGreen);
    EXPECT_EQ(colour::YellowGreen, 65445u);
}

TEST_F(SettingsPageTest, ConfigurationFileRoundTripThroughTheControls) {
    test::TempFolder dir;
    const std::string file = (dir.path / "line3.cfg").string();
    List("Cb_TensDecp")->setCurrentIndex(3);
    List("Cb_ModbusBaud")->setCurrentIndex(4);
    Edit("Edit_TOffset")->setText(QStringLiteral("-1,250"));
    Find<QCheckBox>("CB_Tens1Sign")->setChecked(true);
    dialogs.files.push_back(file);
    page.SaveConfigFileClick();
    EXPECT_TRUE(dialogs.boxes.empty());

    test::WriteAll(dir.path / "other.cfg", "[Config]\nTUnits=9\nModbusBaud=57600\n");
    dialogs.files.push_back((dir.path / "other.cfg").string());
    page.OpenConfigFileClick();
    EXPECT_EQ(List("Cb_TensUnits")->currentIndex(), -1);
    EXPECT_EQ(List("Cb_ModbusBaud")->currentIndex(), -1);
    EXPECT_EQ(List("Cb_TensDecp")->currentIndex(), 1);
    EXPECT_EQ(shared.Decimals, 1);
    EXPECT_EQ(Edit("Edit_TSens")->text(), QStringLiteral("2.000"));

    dialogs.files.push_back(file);
    page.OpenConfigFileClick();
    EXPECT_EQ(List("Cb_TensDecp")->currentIndex(), 3);
    EXPECT_EQ(shared.Decimals, 3);
    EXPECT_EQ(List("Cb_ModbusBaud")->currentText(), QStringLiteral("115200"));
    EXPECT_EQ(Edit("Edit_TOffset")->text(), QStringLiteral("-1,250"));
    EXPECT_TRUE(Find<QCheckBox>("CB_Tens1Sign")->isChecked());
    EXPECT_EQ(List("Cb_TensUnits")->currentIndex(), 0);
    EXPECT_TRUE(device.writes.empty());
}

}  // namespace
}  // namespace karvo
