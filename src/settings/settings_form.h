// The settings page's rules: filling the controls from a settings reply, the write with its
// checks, the buttons, the firmware gate and the configuration file. The Qt page copies its
// controls into these values, calls one operation and copies the values back.
#pragma once

#include <functional>
#include <string>

#include "app/dialogs.h"
#include "app/shared_state.h"
#include "app/string_table.h"
#include "protocol/device_link.h"
#include "readout/number_format.h"
#include "settings/settings_values.h"
#include "settings/unit_labels.h"

namespace karvo {

namespace settings_text {
extern const char* const kConfirmText;     // "Zapisać ustawienia?"
extern const char* const kConfirmCaption;  // "Ustawienia"
extern const char* const kHelpText;
extern const char* const kHelpCaption;      // "Konfiguracja czujnika"
extern const char* const kFirmwareText;     // "Funkcja dostępna dla urządzeń z wersją ..."
extern const char* const kFirmwareCaption;  // "Informacja"
}  // namespace settings_text

// Ranges of the five typed fields.
namespace settings_limits {
constexpr float kRangeMin = 1.0f, kRangeMax = 100000000.0f;
constexpr float kSenseMin = 0.1f, kSenseMax = 100000000.0f;
constexpr int kSenseDecimals = 4;
constexpr float kOffsetMin = -99999.0f, kOffsetMax = 99999.0f;
constexpr float kAnalogMin = -999999.0f, kAnalogMax = 999999.0f;
}  // namespace settings_limits

// The write's mapping (steps after the confirmation): checks the five typed fields in the
// order TRange, TSense, TOffset, AnalogMin, AnalogMax (rewriting and colouring them), and fills
// `record` in place: a field that fails keeps its previous value. A list without a selection
// also keeps its field and counts as a failure. True when everything passed.
bool FillSettingsRecord(SettingsPageValues& page, TDeviceSettingsRecord& record,
                        const NumberLocale& locale);

// FirmwareVersion + 0.001 >= 1.03, in double precision.
bool FirmwareAllowsCalibration(float firmwareVersion);

class SettingsForm {
  public:
    SettingsForm(DeviceLink& link, SharedDisplayState& shared, Dialogs& dialogs,
                 const StringTable& strings);

    SettingsPageValues& Page() { return page_; }
    const SettingsPageValues& Page() const { return page_; }
    UnitLabels& Labels() { return labels_; }
    const UnitLabels& Labels() const { return labels_; }
    const NumberLocale& Locale() const { return locale_; }
    void SetLocale(const NumberLocale& locale) { locale_ = locale; }

    // Cb_TensDecp's selection changed (by the user or from code).
    void SetDecimals(int index);

    // Fills the page from a settings reply.
    void ShowSettings(const TDeviceSettingsRecord& settings);
    void UpdateUnitLabels() { labels_.UpdateUnitLabels(page_.TensUnits); }

    void Btn_SetTensSettingsClick();                                      // "Zapisz"
    void Btn_ReadSettingsClick() { link_.SendCommand(CmdReadSettings); }  // "Odczytaj"
    void Button_TensSettingFactoryClick() { link_.SendCommand(CmdRestoreFactory); }
    void Btn_SensorConfigHelpClick();
    // True when the sensor calibration wizard may open; otherwise the box was shown.
    bool Btn_SensorCalibClick();

    void SaveConfigFileClick();  // menu "Zapisz do pliku"
    void OpenConfigFileClick();  // menu "Odczytaj z pliku"

    // The wizard's "GOTOWE": the computed constant, marked as not yet written.
    void SetSensorConstantFromWizard(const std::string& text);

  private:
    DeviceLink& link_;
    SharedDisplayState& shared_;
    Dialogs& dialogs_;
    const StringTable& strings_;
    NumberLocale locale_;
    SettingsPageValues page_;
    UnitLabels labels_;
};

}  // namespace karvo
