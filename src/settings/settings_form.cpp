#include "settings/settings_form.h"

#include <algorithm>

#include "app/version.h"
#include "protocol/commands.h"
#include "settings/config_file.h"
#include "settings/entry_check.h"

namespace karvo {

namespace settings_text {
const char* const kConfirmText = "Zapisać ustawienia?";
const char* const kConfirmCaption = "Ustawienia";
const char* const kHelpText =
    "Parametr Stała czujnika (Rated Output, [mV/V]) oraz Zakres czujnika (Capacity, [N]) "
    "należy odczytać z karty katalogowej czujnika lub etykiety.";
const char* const kHelpCaption = "Konfiguracja czujnika";
const char* const kFirmwareText =
    "Funkcja dostępna dla urządzeń z wersją oprogramowania 1.03 lub wyższą.";
const char* const kFirmwareCaption = "Informacja";
}  // namespace settings_text

namespace settings_items {
std::vector<std::string> ModbusAddressItems() {
    std::vector<std::string> items;
    items.reserve(kModbusAddresses);
    for (int a = 1; a <= kModbusAddresses; ++a) items.push_back(std::to_string(a));
    return items;
}
}  // namespace settings_items

namespace {

constexpr int kErrorBox = 16;  // OK with the error icon

template <std::size_t N>
bool InList(int index, const std::array<const char*, N>&) {
    return index >= 0 && static_cast<std::size_t>(index) < N;
}

// The index of the item whose text is `value`, or -1.
template <std::size_t N>
int ItemOfValue(std::uint32_t value, const std::array<const char*, N>& items) {
    for (std::size_t i = 0; i < N; ++i) {
        if (std::to_string(value) == items[i]) return static_cast<int>(i);
    }
    return -1;
}

int Limited(int value, int lo, int hi) { return std::clamp(value, lo, hi); }

// The page's decimals for the offset and the analog limits; no selection formats none.
int DecimalsOf(const SettingsPageValues& page) { return std::max(page.TensDecp, 0); }

bool CheckFloatField(EntryField& field, int decimals, float max, float min,
                     const NumberLocale& locale, float& target) {
    field.colour = colour::Window;
    const FloatCheck check = CheckFloatEntry(field.text, decimals, max, min, locale);
    if (check.text) field.text = *check.text;
    if (!check.ok) {
        field.colour = colour::LightRed;
        return false;
    }
    target = check.value;
    return true;
}

}  // namespace

bool FillSettingsRecord(SettingsPageValues& page, TDeviceSettingsRecord& record,
                        const NumberLocale& locale) {
    namespace items = settings_items;
    namespace lim = settings_limits;
    bool ok = true;
    const auto list = [&ok](int index, bool valid, auto store) {
        if (valid)
            store(index);
        else
            ok = false;
    };

    list(page.TensUnits, InList(page.TensUnits, items::kUnits),
         [&](int i) { record.TUnits = static_cast<std::uint8_t>(i); });

    page.TRange.colour = colour::Window;
    const IntCheck range = CheckIntEntry(page.TRange.text, lim::kRangeMax, lim::kRangeMin);
    if (range.ok) {
        record.TRange = static_cast<std::uint32_t>(range.value);
    } else {
        page.TRange.colour = colour::LightRed;
        ok = false;
    }

    ok = CheckFloatField(page.TSens, lim::kSenseDecimals, lim::kSenseMax, lim::kSenseMin, locale,
                         record.TSense) &&
         ok;
    ok = CheckFloatField(page.TOffset, DecimalsOf(page), lim::kOffsetMax, lim::kOffsetMin, locale,
                         record.TOffset) &&
         ok;

    list(page.TensDataRate, InList(page.TensDataRate, items::kDataRate),
         [&](int i) { record.TRate = static_cast<std::uint16_t>(i); });
    list(page.TensFilter, InList(page.TensFilter, items::kFilter), [&](int i) {
        record.TFilter = static_cast<std::uint16_t>(TryStrToInt(items::kFilter[i]).value_or(0));
    });
    record.TSign = page.Tens1Sign ? -1 : 1;
    record.AnalogMode = page.Amode010V ? 0 : 1;
    record.AnalogAbs = page.AnalogAbsolute ? 1 : 0;

    ok = CheckFloatField(page.AnalogMin, DecimalsOf(page), lim::kAnalogMax, lim::kAnalogMin, locale,
                         record.AnalogMin) &&
         ok;
    ok = CheckFloatField(page.AnalogMax, DecimalsOf(page), lim::kAnalogMax, lim::kAnalogMin, locale,
                         record.AnalogMax) &&
         ok;

    list(page.ModbusBaud, InList(page.ModbusBaud, items::kBaud), [&](int i) {
        record.ModbusBaud = static_cast<std::uint32_t>(TryStrToInt(items::kBaud[i]).value_or(0));
    });
    list(page.ModbusParity, InList(page.ModbusParity, items::kParity),
         [&](int i) { record.ModbusParity = static_cast<std::uint8_t>(i); });
    list(page.ModbusAddress,
         page.ModbusAddress >= 0 && page.ModbusAddress < items::kModbusAddresses,
         [&](int i) { record.ModbusAddress = static_cast<std::uint8_t>(i + 1); });
    record.AnalogFactor1 = 1.0f;
    record.AnalogFactor2 = 1.0f;

    // The decimals list only formats, but a write without it is refused all the same.
    if (!InList(page.TensDecp, items::kDecimals)) ok = false;
    return ok;
}

bool FirmwareAllowsCalibration(float firmwareVersion) {
    return static_cast<double>(firmwareVersion) + 0.001 >= 1.03;
}

SettingsForm::SettingsForm(DeviceLink& link, SharedDisplayState& shared, Dialogs& dialogs,
                           const StringTable& strings)
    : link_(link),
      shared_(shared),
      dialogs_(dialogs),
      strings_(strings),
      locale_(link.Locale()),
      labels_(shared, strings) {
    shared_.Decimals = page_.TensDecp;
}

void SettingsForm::SetDecimals(int index) {
    page_.TensDecp = index;
    shared_.Decimals = index;
}

void SettingsForm::ShowSettings(const TDeviceSettingsRecord& s) {
    page_.TensUnits = Limited(s.TUnits, 0, 5);
    UpdateUnitLabels();
    page_.TSens.text = FormatFixed(s.TSense, 4, 4, locale_);
    page_.TRange.text = std::to_string(static_cast<std::int32_t>(s.TRange));
    page_.TOffset.text = FormatFixed(s.TOffset, 6, DecimalsOf(page_), locale_);
    page_.TensDataRate = Limited(s.TRate, 0, 5);
    if (const int f = ItemOfValue(s.TFilter, settings_items::kFilter); f >= 0) {
        page_.TensFilter = f;
    }
    page_.Tens1Sign = s.TSign == -1;

    // A button that goes from unchecked to checked runs the mode handler once.
    const bool voltage = s.AnalogMode == 0;
    const bool changed = voltage ? !page_.Amode010V : !page_.Amode420mA;
    page_.Amode010V = voltage;
    page_.Amode420mA = !voltage;
    if (changed) labels_.Rg_AnalogModeClick(page_.Amode010V, page_.Amode420mA);

    page_.AnalogAbsolute = s.AnalogAbs != 0;
    page_.AnalogMin.text = FormatFixed(s.AnalogMin, 6, DecimalsOf(page_), locale_);
    page_.AnalogMax.text = FormatFixed(s.AnalogMax, 6, DecimalsOf(page_), locale_);
    if (const int b = ItemOfValue(s.ModbusBaud, settings_items::kBaud); b >= 0) {
        page_.ModbusBaud = b;
    }
    page_.ModbusParity = Limited(s.ModbusParity, 0, 2);
    page_.ModbusAddress =
        Limited(static_cast<int>(s.ModbusAddress) - 1, 0, settings_items::kModbusAddresses - 1);
}

void SettingsForm::Btn_SetTensSettingsClick() {
    if (dialogs_.MessageBox(settings_text::kConfirmText, settings_text::kConfirmCaption,
                            mb::OkCancelQuestion) != mb::ResultOk) {
        return;
    }
    TDeviceSettingsRecord& record = link_.State().Settings;
    if (FillSettingsRecord(page_, record, locale_)) {
        const LongCommand frame = WriteSettingsFrame(record);
        link_.SendReport(frame.data(), frame.size());
    } else {
        dialogs_.MessageBox(strings_.Lookup("IDS_67"), strings_.Lookup("IDS_68"), mb::OkWarning);
    }
}

void SettingsForm::Btn_SensorConfigHelpClick() {
    dialogs_.MessageBox(settings_text::kHelpText, settings_text::kHelpCaption, mb::OkInformation);
}

bool SettingsForm::Btn_SensorCalibClick() {
    if (FirmwareAllowsCalibration(link_.State().Info.FirmwareVersion)) return true;
    dialogs_.MessageBox(settings_text::kFirmwareText, settings_text::kFirmwareCaption,
                        mb::OkInformation);
    return false;
}

void SettingsForm::SaveConfigFileClick() {
    const auto path = dialogs_.SaveFileName(SaveConfigDialogRequest());
    if (!path) return;
    if (const auto error = SaveConfigFile(*path, page_)) {
        dialogs_.MessageBox(*error, kApplicationTitle, kErrorBox);
    }
}

void SettingsForm::OpenConfigFileClick() {
    const auto path = dialogs_.OpenFileName(OpenConfigDialogRequest());
    if (!path) return;
    if (const auto error = LoadConfigFile(*path, page_)) {
        dialogs_.MessageBox(*error, kApplicationTitle, kErrorBox);
        return;
    }
    shared_.Decimals = page_.TensDecp;
}

void SettingsForm::SetSensorConstantFromWizard(const std::string& text) {
    page_.TSens.text = text;
    page_.TSens.colour = colour::YellowGreen;
}

}  // namespace karvo
