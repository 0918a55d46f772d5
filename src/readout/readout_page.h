// TabSheet_Reads: the measurement page. Each DisplayData tick asks the readout refresh what
// to show and copies it into the page, the converter box and the large readout window.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "app/shared_state.h"
#include "protocol/device_link.h"
#include "readout/number_format.h"
#include "readout/readout_refresh.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace karvo {

class BigDisplayWindow;
class FitLabel;
class GaugeBar;

class ReadoutPage : public QWidget {
    Q_OBJECT
  public:
    // `setStatusLine` writes Label_Status; `bigDisplay` may be null.
    ReadoutPage(DeviceLink& link, SharedDisplayState& shared,
                std::function<void(const std::string&)> setStatusLine, BigDisplayWindow* bigDisplay,
                QWidget* parent = nullptr);

    // The handler of the 50 ms DisplayData timer.
    void DisplayDataTimer();

    // The caption of GroupBox_DispAnalog, set with the output mode.
    void SetAnalogGroupCaption(const QString& caption);

    // ADStatus, the converter's StatusIndicator, lives on the settings page; the tick writes
    // it through this pointer (null: not written).
    void SetConverterStatusBox(QLineEdit* box) { converterBox_ = box; }
    void SetBigDisplay(BigDisplayWindow* bigDisplay) { bigDisplay_ = bigDisplay; }
    // The separators of shown numbers; the system's unless set.
    void SetNumberLocale(const NumberLocale& locale) { locale_ = locale; }
    const NumberLocale& Locale() const { return locale_; }

    const ReadoutRefresh& Refresh() const { return refresh_; }

    // The page's buttons.
    void BtnTaraClick();
    void Btn_ResetMinMaxClick();
    void Bit_BigWindowClick();

    // Copies one decided frame into the controls.
    void Apply(const ReadoutFrame& frame);

  private:
    void BuildLayout();

    DeviceLink& link_;
    SharedDisplayState& shared_;
    std::function<void(const std::string&)> setStatusLine_;
    BigDisplayWindow* bigDisplay_;
    QLineEdit* converterBox_ = nullptr;
    NumberLocale locale_;
    ReadoutRefresh refresh_;

    FitLabel* displayTensVal_ = nullptr;
    QLabel* labelTensLoad_ = nullptr;
    QLabel* labelTensRaw_ = nullptr;
    GaugeBar* gauge100_ = nullptr;
    GaugeBar* gauge150_ = nullptr;
    GaugeBar* gauge200_ = nullptr;
    FitLabel* displayTensMax_ = nullptr;
    FitLabel* displayTensMin_ = nullptr;
    QGroupBox* groupAnalog_ = nullptr;
    FitLabel* displayVoutVal_ = nullptr;
    GaugeBar* gaugeAout_ = nullptr;
    QLineEdit* statusInTara_ = nullptr;
    QLineEdit* statusTens_ = nullptr;
    QPushButton* bigWindowButton_ = nullptr;
    QPushButton* taraButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
};

}  // namespace karvo
