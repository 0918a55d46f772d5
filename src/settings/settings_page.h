// TabSheet_Settings: the amplifier's settings in editable controls. The rules live in
// SettingsForm; this page copies its controls into the form's values, runs one operation and
// copies the values back.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "settings/settings_form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace karvo {

class SettingsPage : public QWidget {
    Q_OBJECT
  public:
    SettingsPage(DeviceLink& link, SharedDisplayState& shared, Dialogs& dialogs,
                 const StringTable& strings, std::function<void(const std::string&)> setStatusLine,
                 QWidget* parent = nullptr);

    // The caption of the readout page's GroupBox_DispAnalog, when the output mode changes.
    void SetAnalogGroupCaptionHandler(std::function<void(const QString&)> handler);
    // Shows the sensor calibration wizard (not modal); called only past the firmware gate.
    void SetOpenSensorCalibration(std::function<void()> open) {
        openSensorCalib_ = std::move(open);
    }
    // Shows the analog output calibration window modally.
    void SetOpenAnalogCalibration(std::function<void()> open) {
        openAnalogCalib_ = std::move(open);
    }
    // The separators used to show and check numbers (the link's at construction).
    void SetNumberLocale(const NumberLocale& locale) { form_.SetLocale(locale); }

    // Cb_ModbusAddress <- "1" ... "247", "1" selected.
    void FillModbusAddressList();
    // A settings reply has been stored: fill the page from it.
    void ShowSettings(const TDeviceSettingsRecord& settings);
    void UpdateUnitLabels();

    void Btn_SetTensSettingsClick();
    void Btn_ReadSettingsClick();
    void Button_TensSettingFactoryClick();
    void Btn_SensorConfigHelpClick();
    void Btn_SensorCalibClick();
    void Btn_AnalogOutCalibClick();
    void SaveConfigFileClick();
    void OpenConfigFileClick();

    // The wizard's "GOTOWE": the text into Edit_TSens, coloured 65445.
    void SetSensorConstantFromWizard(const QString& text);

    // The converter status box, filled by the readout refresh.
    QLineEdit* ADStatus() const { return adStatus_; }

    SettingsForm& Form() { return form_; }

  private:
    void Build();
    void Pull();
    void Push();
    template <typename Op>
    void Run(Op op);

    SettingsForm form_;
    std::function<void(const std::string&)> setStatusLine_;
    std::function<void(const QString&)> analogGroupCaption_;
    std::function<void()> openSensorCalib_;
    std::function<void()> openAnalogCalib_;
    int depth_ = 0;  // operations in progress (a modal box can nest one inside another)

    QComboBox* cbUnits_ = nullptr;
    QComboBox* cbFilter_ = nullptr;
    QComboBox* cbRate_ = nullptr;
    QLineEdit* editOffset_ = nullptr;
    QCheckBox* cbSign_ = nullptr;
    QLineEdit* editSens_ = nullptr;
    QLineEdit* editRange_ = nullptr;
    QPushButton* btnHelp_ = nullptr;
    QPushButton* btnSensorCalib_ = nullptr;
    QRadioButton* rb010V_ = nullptr;
    QRadioButton* rb420mA_ = nullptr;
    QLabel* labelVoutMin_ = nullptr;
    QLabel* labelVoutMax_ = nullptr;
    QLabel* label31_ = nullptr;
    QLabel* label32_ = nullptr;
    QLineEdit* editAnalogMin_ = nullptr;
    QLineEdit* editAnalogMax_ = nullptr;
    QCheckBox* cbAnalogAbs_ = nullptr;
    QPushButton* btnAnalogCalib_ = nullptr;
    QComboBox* cbAddress_ = nullptr;
    QComboBox* cbBaud_ = nullptr;
    QComboBox* cbParity_ = nullptr;
    QComboBox* cbDecp_ = nullptr;
    QLineEdit* adStatus_ = nullptr;
    QPushButton* btnRead_ = nullptr;
    QPushButton* btnWrite_ = nullptr;
    QPushButton* btnFactory_ = nullptr;
};

}  // namespace karvo
