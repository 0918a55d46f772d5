#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/qt_util.h"
#include "calibration/analog_calibration_window.h"
#include "calibration/sensor_calibration_window.h"
#include "support/fake_link_view.h"
#include "support/hex.h"
#include "support/scripted_dialogs.h"

namespace karvo {
namespace {

using test::FakeLinkView;
using test::HexPadded;
using test::RecordingDevice;
using test::ScriptedDialogs;

// A number as the window shows it, with the system decimal separator.
QString Shown(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), ToQ(SystemNumberLocale().decimal));
}

template <typename W>
W* Find(QWidget& window, const char* name) {
    auto* w = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class CalibrationWindowTest : public ::testing::Test {
  protected:
    CalibrationWindowTest() : link(view, strings) {
        link.Bind(&dev);
        link.State().Connected = true;
    }
    FakeLinkView view;
    StringTable strings;
    RecordingDevice dev;
    DeviceLink link;
};

TEST_F(CalibrationWindowTest, SensorWizardFromZeroToCopy) {
    std::vector<QString> copied;
    ScriptedDialogs dialogs;
    SensorCalibrationWindow w(link, dialogs, [&](const QString& t) { copied.push_back(t); });
    EXPECT_EQ(w.objectName(), "FormCalib");
    EXPECT_EQ(w.windowTitle(), "Kalibracja czujnika");
    EXPECT_FALSE(w.isModal());
    auto* timer = Find<QTimer>(w, "Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 100);

    auto* step2 = Find<QPushButton>(w, "Btn_Calib_Step2");
    auto* weight = Find<QLineEdit>(w, "Edit_CalibWeight_Step2");
    auto* sense = Find<QLineEdit>(w, "Edit_Sense_Step3");
    auto* gotowe = Find<QPushButton>(w, "Btn_Calib_OK");
    auto* step3 = Find<QLabel>(w, "Label_Calib_Step3");
    auto* actual = Find<QLineEdit>(w, "Edit_Calib_ActualVal");
    ASSERT_TRUE(step2 && weight && sense && gotowe && step3 && actual);

    // Hidden: the timer asks for nothing.
    w.Timer1Timer();
    EXPECT_TRUE(dev.writes.empty());

    auto& m = link.State().Measurement;
    m.CalibSignal = 1.0f;
    m.LoadN = 0.5f;
    w.show();
    EXPECT_TRUE(step2->isHidden());
    EXPECT_TRUE(step3->isHidden());
    w.Timer1Timer();
    EXPECT_EQ(dev.Codes(), std::vector<int>{CmdReadMeasurement});
    EXPECT_EQ(actual->text(), Shown("0.50"));

    Find<QPushButton>(w, "Btn_Calib_Step1")->click();
    EXPECT_FALSE(step2->isHidden());
    EXPECT_FALSE(Find<QRadioButton>(w, "RB_N_step2")->isHidden());
    EXPECT_TRUE(step3->isHidden());

    // A refused entry: step 3 appears with the field's earlier text, no GOTOWE.
    m.CalibSignal = 20.62f;
    weight->setText("0.009");
    step2->click();
    EXPECT_FALSE(step3->isHidden());
    EXPECT_FALSE(sense->isHidden());
    EXPECT_EQ(sense->text(), "10");
    EXPECT_TRUE(gotowe->isHidden());
    EXPECT_EQ(BackgroundOf(weight), colour::LightRed);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Błędna wartość");
    EXPECT_EQ(dialogs.boxes[0].caption, " Info");
    EXPECT_EQ(dialogs.boxes[0].flags, 64);

    weight->setText("1.000");
    step2->click();
    EXPECT_EQ(sense->text(), Shown("1.9999"));
    EXPECT_FALSE(gotowe->isHidden());
    EXPECT_EQ(dialogs.boxes.size(), 1u);

    // The constant refused after it had been offered: GOTOWE goes away again.
    weight->setText("1000001");
    step2->click();
    EXPECT_TRUE(gotowe->isHidden());
    EXPECT_EQ(dialogs.boxes.size(), 2u);

    Find<QRadioButton>(w, "RB_N_step2")->click();
    weight->setText("9.81");
    step2->click();
    EXPECT_EQ(sense->text(), Shown("2.0000"));
    ASSERT_FALSE(gotowe->isHidden());

    const auto writesBefore = dev.writes.size();
    gotowe->click();
    EXPECT_EQ(copied, std::vector<QString>{Shown("2.0000")});
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[2].text,
              "Nowa wartość stałej czujnika została wprowadzona. Zapisz parametry w urządzeniu");
    EXPECT_EQ(dialogs.boxes[2].caption, " Info");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(dev.writes.size(), writesBefore);  // nothing sent by the copy
    w.Timer1Timer();
    EXPECT_EQ(dev.writes.size(), writesBefore);

    // The next showing starts again; texts and the unit choice stay.
    w.show();
    EXPECT_TRUE(step2->isHidden());
    EXPECT_TRUE(gotowe->isHidden());
    EXPECT_EQ(sense->text(), Shown("2.0000"));
    EXPECT_TRUE(Find<QRadioButton>(w, "RB_N_step2")->isChecked());

    // The close box only hides the window.
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.Wizard().CalibZero(), 1.0f);
}

TEST_F(CalibrationWindowTest, AnalogOutputButtonsSendTheirFrames) {
    AnalogCalibrationWindow w(link);
    EXPECT_EQ(w.objectName(), "FormAnCalib");
    EXPECT_EQ(w.windowTitle(), "Wyjście analogowe - kalibracja");
    EXPECT_TRUE(w.isModal());
    auto* voltage = Find<QLineEdit>(w, "Edit1_0_10V");
    auto* current = Find<QLineEdit>(w, "Edit1_4_20mA");
    ASSERT_TRUE(voltage && current);

    Find<QPushButton>(w, "Button1")->click();
    Find<QRadioButton>(w, "RadioButton2")->click();
    Find<QCheckBox>(w, "Cb_Test")->click();
    Find<QPushButton>(w, "Button1")->click();
    Find<QPushButton>(w, "Button2")->click();

    voltage->setText("9.8765");
    Find<QPushButton>(w, "Btn_Calib_0_10")->click();
    EXPECT_EQ(voltage->text(), Shown("9.877"));

    current->setText("18.012");
    Find<QPushButton>(w, "Btn_Calib_4_20")->click();
    EXPECT_EQ(current->text(), Shown("18.012"));
    EXPECT_NE(BackgroundOf(current), colour::LightRed);

    ASSERT_EQ(dev.writes.size(), 5u);
    EXPECT_EQ(dev.writes[0], HexPadded("01 A8 00 00 00 00 10 41", 65));
    EXPECT_EQ(dev.writes[1], HexPadded("01 A8 01 01 00 00 90 41", 65));
    EXPECT_EQ(dev.writes[2], HexPadded("01 A9", 65));
    EXPECT_EQ(dev.writes[3], HexPadded("01 AA 00 25 06 1E 41", 65));
    EXPECT_EQ(dev.writes[4].at(1), 0xAA);
    EXPECT_EQ(dev.writes[4].at(2), 0x01);
    EXPECT_EQ(LoadFloat(dev.writes[4].data() + 3), 18.012f);

    // A refused reading turns its field red and sends nothing; "Odczytaj Factor" does nothing.
    voltage->setText("15.001");
    Find<QPushButton>(w, "Btn_Calib_0_10")->click();
    EXPECT_EQ(BackgroundOf(voltage), colour::LightRed);
    Find<QPushButton>(w, "Btn_readFactors")->click();
    EXPECT_EQ(dev.writes.size(), 5u);
    EXPECT_EQ(Find<QLabel>(w, "Label_CalibVal_0_10V")->text(), "0");
    EXPECT_EQ(Find<QLabel>(w, "Label_CalibVal_0_20mA")->text(), "0");
}

}  // namespace
}  // namespace karvo
