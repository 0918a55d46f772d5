// FormCalib: the sensor calibration wizard window. Not modal; closing it only hides it.
#pragma once

#include <QDialog>
#include <functional>

#include "app/dialogs.h"
#include "calibration/sensor_calibration.h"
#include "protocol/device_link.h"
#include "readout/number_format.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace karvo {

class SensorCalibrationWindow : public QDialog {
    Q_OBJECT
  public:
    // `copyToSensorConstant` receives the computed constant's text on "GOTOWE"; the
    // settings page puts it into Edit_TSens and marks the field as changed.
    SensorCalibrationWindow(DeviceLink& link, Dialogs& dialogs,
                            std::function<void(const QString&)> copyToSensorConstant,
                            QWidget* parent = nullptr);

    const SensorCalibrationWizard& Wizard() const { return wizard_; }

    // The handlers, also reached by the buttons and the timer.
    void Btn_Calib_ResetClick();
    void Btn_Calib_Step1Click();
    void Btn_Calib_Step2Click();
    void Btn_Calib_OKClick();
    void Timer1Timer();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ApplyVisibility();
    void Show(const CalibrationMessage& message);

    Dialogs& dialogs_;
    std::function<void(const QString&)> copyToSensorConstant_;
    SensorCalibrationWizard wizard_;
    NumberLocale locale_;

    QLineEdit* editActualVal_;
    QLabel* labelStep2_;
    QLabel* labelAStep2_;
    QLineEdit* editWeight_;
    QRadioButton* rbKg_;
    QRadioButton* rbN_;
    QPushButton* btnStep2_;
    QLabel* labelStep3_;
    QLabel* labelAStep3_;
    QLineEdit* editSense_;
    QPushButton* btnOk_;
    QTimer* timer1_;
};

}  // namespace karvo
