// Form1: the main window. Owns the link, the pages, the status box, the status line, the
// menu, the timers and the HID service.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "app/language.h"
#include "app/qt_dialogs.h"
#include "app/shared_state.h"
#include "app/string_table.h"
#include "protocol/device_link.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QAction;

namespace karvo {

class AboutWindow;
class AnalogCalibrationWindow;
class BigDisplayWindow;
class ChartPage;
class HidBackend;
class HidService;
class ReadoutPage;
class RecordingPage;
class SensorCalibrationWindow;
class SettingsPage;

class MainWindow : public QMainWindow, public LinkView {
    Q_OBJECT
public:
    // `dialogs`: the boxes and file dialogs to use (nullptr: the real ones).
    // `optionsFilePath`: where config.ini lives (empty: next to the executable, or the
    // per-user configuration folder when that one cannot be written).
    explicit MainWindow(Dialogs* dialogs = nullptr, const QString& optionsFilePath = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // LinkView
    void SetConnectionText(const std::string& text) override;
    void SetConnectionColour(std::uint32_t colour) override;
    void SetConnectionToolTip(const std::string& text) override;
    void SetStatusLine(const std::string& text) override;
    void ShowSettings(const TDeviceSettingsRecord& settings) override;
    void UpdateUnitLabels() override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    int ActivePageIndex() const override;

    DeviceLink& Link() { return link_; }
    StringTable& Strings() { return strings_; }
    Dialogs& DialogsInUse() { return *dialogs_; }
    const QString& OptionsFilePath() const { return optionsFilePath_; }
    static QString DefaultOptionsFilePath();

    // The other windows, created after the main window in their order.
    void SetAboutWindow(AboutWindow* about) { about_ = about; }
    void SetSensorCalibrationWindow(SensorCalibrationWindow* w) { formCalib_ = w; }
    void SetAnalogCalibrationWindow(AnalogCalibrationWindow* w) { formAnCalib_ = w; }
    void SetBigDisplayWindow(BigDisplayWindow* w);
    SettingsPage* Settings() const { return settings_; }
    ReadoutPage* Readout() const { return readout_; }
    ChartPage* Chart() const { return chart_; }
    RecordingPage* Recording() const { return recording_; }

    // The HID controller: its first device change comes once the event loop runs.
    void AttachHid(std::unique_ptr<HidBackend> backend);
    HidService* Hid() const { return hid_; }

    // Writes the options (also run by closing the window). False when the file could not
    // be written; the failure is shown once.
    bool WriteOptions();

    // Timer handlers.
    void DisplayDataTimer();
    void TimerTimeoutTimer() { link_.TimerTimeoutTimer(); }
    void BitBtn3Click();
    void siLangCombo1Change();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildTopPanel(QWidget* central);
    void BuildPages(QWidget* central);
    void BuildStatusStrip(QWidget* central);
    void BuildMenu();
    void FormCreate();
    void ReadOptions();
    bool StoreFileName(const std::string& path);
    void ApplyCaption(const CaptionChange& change);

    StringTable strings_;
    Localizer localizer_{strings_};
    SharedDisplayState shared_;
    QtDialogs qtDialogs_{this};
    Dialogs* dialogs_;
    QString optionsFilePath_;
    DeviceLink link_;

    QLabel* labelConnection_ = nullptr;
    QLineEdit* connectionStatus_ = nullptr;
    QComboBox* langCombo_ = nullptr;
    QPushButton* infoButton_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QLabel* labelStatusTitle_ = nullptr;
    QLabel* labelStatus_ = nullptr;
    QTimer* displayData_ = nullptr;
    QTimer* timerTimeout_ = nullptr;
    AboutWindow* about_ = nullptr;
    SensorCalibrationWindow* formCalib_ = nullptr;
    AnalogCalibrationWindow* formAnCalib_ = nullptr;
    BigDisplayWindow* bigDisplay_ = nullptr;
    ReadoutPage* readout_ = nullptr;
    ChartPage* chart_ = nullptr;
    RecordingPage* recording_ = nullptr;
    SettingsPage* settings_ = nullptr;
    HidService* hid_ = nullptr;
    bool optionsWriteFailed_ = false;
};

}  // namespace karvo
