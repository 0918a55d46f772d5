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

class MainWindow : public QMainWindow, public LinkView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
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
    // Tests answer boxes and file dialogs through their own Dialogs.
    void SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs ? dialogs : &qtDialogs_; }

    void SetAboutWindow(AboutWindow* about) { about_ = about; }

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
    void ApplyCaption(const CaptionChange& change);

    StringTable strings_;
    Localizer localizer_{strings_};
    SharedDisplayState shared_;
    QtDialogs qtDialogs_{this};
    Dialogs* dialogs_ = &qtDialogs_;
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
};

}  // namespace karvo
