// Device configuration files: the file loaded into the settings page, which then holds
// only what its controls can hold; saving that page and loading it again gives the same
// page back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_common.h"
#include "settings/config_file.h"
#include "settings/ini_file.h"
#include "settings/settings_values.h"

namespace {

using namespace karvo;
using karvo::fuzz::Fail;

void CheckList(int index, std::size_t count, const char* name) {
    if (index != -1 && (index < 0 || static_cast<std::size_t>(index) >= count))
        Fail("list index outside its list", name, std::to_string(index));
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

bool SamePage(const SettingsPageValues& a, const SettingsPageValues& b) {
    return a.TensUnits == b.TensUnits && a.TensFilter == b.TensFilter &&
           a.TensDataRate == b.TensDataRate && a.TOffset.text == b.TOffset.text &&
           a.Tens1Sign == b.Tens1Sign && a.TSens.text == b.TSens.text &&
           a.TRange.text == b.TRange.text && a.AnalogMin.text == b.AnalogMin.text &&
           a.AnalogMax.text == b.AnalogMax.text && a.AnalogAbsolute == b.AnalogAbsolute &&
           a.ModbusAddress == b.ModbusAddress && a.ModbusBaud == b.ModbusBaud &&
           a.ModbusParity == b.ModbusParity && a.TensDecp == b.TensDecp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::ScratchPath("config.cfg");
    if (!fuzz::WriteWhole(path, data, size)) return 0;

    SettingsPageValues page;
    page.TOffset.text = "unchanged";
    if (const auto failure = LoadConfigFile(path, page)) Fail("load failed", *failure);

    // The file as it was read and the text the file holds give one page.
    SettingsPageValues fromText;
    ReadConfig(IniFile(std::string_view(reinterpret_cast<const char*>(data), size)), fromText);
    if (!SamePage(page, fromText)) Fail("file and text load differ");

    namespace items = settings_items;
    CheckList(page.TensUnits, items::kUnits.size(), "TUnits");
    CheckList(page.TensFilter, items::kFilter.size(), "TFilter");
    CheckList(page.TensDataRate, items::kDataRate.size(), "TRate");
    CheckList(page.ModbusAddress, items::kModbusAddresses, "ModbusAddress");
    CheckList(page.ModbusBaud, items::kBaud.size(), "ModbusBaud");
    CheckList(page.ModbusParity, items::kParity.size(), "ModbusParity");
    CheckList(page.TensDecp, items::kDecimals.size(), "Decp");

    // Saved over the same text (kept as it was otherwise) and loaded again.
    IniFile ini(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool texts = !HasLineBreak(page.TOffset.text) && !HasLineBreak(page.TSens.text) &&
                       !HasLineBreak(page.TRange.text) && !HasLineBreak(page.AnalogMin.text) &&
                       !HasLineBreak(page.AnalogMax.text);
    if (!WriteConfig(ini, page)) {
        if (texts) Fail("page as loaded could not be written");
        return 0;
    }
    SettingsPageValues again;
    ReadConfig(IniFile(ini.Text()), again);
    if (!SamePage(page, again)) Fail("page saved and loaded again differs");
    return 0;
}
