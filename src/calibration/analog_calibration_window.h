// FormAnCalib: the analog output calibration service window, shown modally.
#pragma once

#include <QDialog>

#include "calibration/analog_calibration.h"
#include "protocol/device_link.h"
#include "readout/number_format.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace karvo {

class AnalogCalibrationWindow : public QDialog {
    Q_OBJECT
  public:
    explicit AnalogCalibrationWindow(DeviceLink& link, QWidget* parent = nullptr);

    // The handlers, also reached by the buttons.
    void Button1Click();
    void Button2Click();
    void Btn_Calib_0_10Click();
    void Btn_Calib_4_20Click();
    void Btn_readFactorsClick();

  private:
    void SendFrom(QLineEdit* field, bool currentOutput);

    AnalogOutputCalibration calibration_;
    NumberLocale locale_;

    QRadioButton* rbVoltage_;
    QCheckBox* cbTest_;
    QLineEdit* editVoltage_;
    QLineEdit* editCurrent_;
};

}  // namespace karvo
