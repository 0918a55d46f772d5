#include "readout/readout_page.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "app/qt_util.h"
#include "readout/big_display_window.h"
#include "readout/status_indicator_box.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using test::FakeLinkView;
using test::RecordingDevice;

std::uint32_t TextColourOf(const QWidget* w) {
    return static_cast<std::uint32_t>(w->property("karvoTextColour").toULongLong());
}

class ReadoutPageTest : public ::testing::Test {
  protected:
    ReadoutPageTest() {
        link.Bind(&device);
        page = std::make_unique<ReadoutPage>(
            link, shared, [this](const std::string& s) { statusLine = s; }, &big);
        page->SetNumberLocale({",", "\u00A0"});
        adStatus = MakeStatusIndicatorBox("ADStatus", "OFF", 52, nullptr);
        page->SetConverterStatusBox(adStatus);
        shared.UnitSuffix = " kg";
        shared.OutputUnitSuffix = " V";
        shared.Decimals = 2;
        LinkState& s = link.State();
        s.Connected = true;
        s.MeasurementStatusPending = true;
        s.Settings.TRange = 1000;
        s.Measurement.LoadN = 1510;
        s.Measurement.Value = 12.3456f;
        s.Measurement.MinValue = -1234.5f;
        s.Measurement.MaxValue = 2345.25f;
        s.Measurement.AnalogOutput = 5.0f;
        s.Measurement.AdcRaw = -1234;
        s.Measurement.SignalmV = 0.5f;
        s.Measurement.StatusFlags = TMeasurementRecord::kTareInput;
    }
    ~ReadoutPageTest() override { delete adStatus; }

    template <typename T>
    T* Find(const char* name) {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(const char* name) { return Find<QLabel>(name)->text(); }
    int Gauge(const char* name) { return Find<QProgressBar>(name)->value(); }

    FakeLinkView view;
    StringTable strings;
    DeviceLink link{view, strings};
    RecordingDevice device;
    SharedDisplayState shared;
    BigDisplayWindow big;
    QLineEdit* adStatus = nullptr;
    std::string statusLine = "...";
    std::unique_ptr<ReadoutPage> page;
};

TEST_F(ReadoutPageTest, StartsWithTheDesignTexts) {
    EXPECT_EQ(page->objectName(), "TabSheet_Reads");
    EXPECT_EQ(Text("DisplayTensVal"), "0");
    EXPECT_EQ(Text("Label_TensLoad"), "0%");
    EXPECT_EQ(Find<QLineEdit>("Status_InTARA")->text(), "OFF");
    EXPECT_EQ(Find<QLineEdit>("Status_Tens")->text(), "ERROR");
    EXPECT_EQ(BackgroundOf(Find<QLineEdit>("Status_Tens")), colour::Window);
    EXPECT_EQ(Find<QGroupBox>("GroupBox_DispAnalog")->title(), "Wyjście analogowe [0-10V]");
    EXPECT_EQ(Find<QProgressBar>("Progress_AoutVal")->maximum(), 1000);
    EXPECT_EQ(big.ValueText(), "00.0");
    EXPECT_EQ(big.objectName(), "FormBigDisplay");
    EXPECT_EQ(big.windowTitle(), "KARVP wartosc pomiaru");
    EXPECT_FALSE(big.isVisible());
}

TEST_F(ReadoutPageTest, OneLiveTickFillsThePageAndTheLargeWindow) {
    page->DisplayDataTimer();

    EXPECT_EQ(statusLine, "Odczyt pomiarów z urządzenia");
    EXPECT_EQ(Text("DisplayTensVal"), "12,35 kg");
    EXPECT_EQ(TextColourOf(Find<QLabel>("DisplayTensVal")), colour::Red);  // 151 %
    EXPECT_EQ(Text("DisplayTensMin"), "-1\u00A0234,50");
    EXPECT_EQ(Text("DisplayTensMax"), "2\u00A0345,25");
    EXPECT_EQ(Text("Label_TensLoad"), "151%");
    EXPECT_EQ(Text("Label_TensRaw"), "RAW: -1234 (0,500 mV)");
    EXPECT_EQ(Gauge("Progress_TensVal_100"), 100);
    EXPECT_EQ(Gauge("Progress_TensVal_150"), 50);
    EXPECT_EQ(Gauge("Progress_TensVal_200"), 1);
    EXPECT_EQ(Text("Display_VoutVal"), "5,00 V");
    EXPECT_EQ(Gauge("Progress_AoutVal"), 500);

    QLineEdit* tare = Find<QLineEdit>("Status_InTARA");
    EXPECT_EQ(tare->text(), "ON");
    EXPECT_EQ(BackgroundOf(tare), colour::LightGreen);
    EXPECT_EQ(Find<QLineEdit>("Status_Tens")->text(), "OK");
    EXPECT_EQ(adStatus->text(), "OK");
    EXPECT_EQ(BackgroundOf(adStatus), colour::LightGreen);

    EXPECT_EQ(big.ValueText(), "12,35 kg");
    EXPECT_EQ(big.MinimumText(), "-1\u00A0234,50");
    EXPECT_EQ(big.MaximumText(), "2\u00A0345,25");
}

TEST_F(ReadoutPageTest, ConverterErrorThenLostLinkKeepTheLargeWindowsLastTexts) {
    page->DisplayDataTimer();
    link.State().Measurement.StatusFlags = TMeasurementRecord::kConverterError;
    page->DisplayDataTimer();
    EXPECT_EQ(Text("DisplayTensVal"), "ERROR");
    EXPECT_EQ(Text("Label_TensLoad"), "--");
    EXPECT_EQ(Gauge("Progress_TensVal_100"), 0);
    EXPECT_EQ(Text("DisplayTensMax"), "2\u00A0345,25");
    EXPECT_EQ(Text("Display_VoutVal"), "5,00 V");
    EXPECT_EQ(big.ValueText(), "ERROR");
    EXPECT_EQ(big.MaximumText(), "2\u00A0345,25");

    link.State().Connected = false;
    page->DisplayDataTimer();
    EXPECT_EQ(Text("DisplayTensVal"), "----------");
    EXPECT_EQ(Text("DisplayTensMin"), "--------");
    EXPECT_EQ(Text("Display_VoutVal"), "--------");
    EXPECT_EQ(Gauge("Progress_AoutVal"), 500);
    EXPECT_EQ(Text("Label_TensRaw"), "RAW: -1234 (0,500 mV)");
    EXPECT_EQ(big.ValueText(), "ERROR");
    EXPECT_EQ(big.MinimumText(), "-1\u00A0234,50");
}

TEST_F(ReadoutPageTest, ButtonsSendTheirCommandsAndShowTheLargeWindow) {
    Find<QPushButton>("BtnTara")->click();
    Find<QPushButton>("Btn_ResetMinMax")->click();
    EXPECT_EQ(device.Codes(), (std::vector<int>{CmdTare, CmdResetMinMax}));

    link.State().Connected = false;
    Find<QPushButton>("BtnTara")->click();
    EXPECT_EQ(device.writes.size(), 2u);  // nothing is sent without a connection

    Find<QPushButton>("Bit_BigWindow")->click();
    EXPECT_TRUE(big.isVisible());
    Find<QPushButton>("Bit_BigWindow")->click();
    EXPECT_TRUE(big.isVisible());
    big.close();
    EXPECT_FALSE(big.isVisible());
    link.State().Connected = true;
    page->DisplayDataTimer();  // written while hidden, shown at once on the next opening
    Find<QPushButton>("Bit_BigWindow")->click();
    EXPECT_TRUE(big.isVisible());
    EXPECT_EQ(big.ValueText(), "12,35 kg");
}

TEST_F(ReadoutPageTest, AnalogGroupCaptionIsSetFromOutside) {
    page->SetAnalogGroupCaption("Wyjście analogowe (0)4-20mA");
    EXPECT_EQ(Find<QGroupBox>("GroupBox_DispAnalog")->title(), "Wyjście analogowe (0)4-20mA");
}

}  // namespace
}  // namespace karvo
