#include "settings/config_file.h"

#include "app/version.h"

namespace karvo {

namespace config_file {
const char* const kHeaderSection = "KARVP config ";
const char* const kVersionKey = "Software version";
const char* const kSection = "Config";
}  // namespace config_file

namespace {

using config_file::kSection;

// The list index, or -1 when it is not one of the list's.
int ListIndex(std::int32_t value, std::size_t count) {
    return (value >= 0 && static_cast<std::size_t>(value) < count) ? static_cast<int>(value) : -1;
}

int ReadList(const IniFile& ini, const char* key, std::int32_t def, std::size_t count) {
    return ListIndex(ini.ReadInteger(kSection, key, def), count);
}

}  // namespace

FileDialogRequest SaveConfigDialogRequest() {
    FileDialogRequest r;
    r.filter = "KARVP  config|*.cfg";
    r.fileName = "KARVP_config";
    r.defaultExt = "cfg";
    r.overwritePrompt = true;
    return r;
}

FileDialogRequest OpenConfigDialogRequest() {
    FileDialogRequest r;
    r.title = "Plik konfiguracyjny";
    r.filter = "KARVP config|*.cfg";
    return r;
}

bool WriteConfig(IniFile& ini, const SettingsPageValues& page) {
    bool ok = ini.WriteString(config_file::kHeaderSection, config_file::kVersionKey, kVersion);
    ok = ok && ini.WriteInteger(kSection, "Decp", page.TensDecp);
    ok = ok && ini.WriteInteger(kSection, "TUnits", page.TensUnits);
    ok = ok && ini.WriteInteger(kSection, "TFilter", page.TensFilter);
    ok = ok && ini.WriteInteger(kSection, "TRate", page.TensDataRate);
    ok = ok && ini.WriteString(kSection, "TOffset", page.TOffset.text);
    ok = ok && ini.WriteBool(kSection, "TSign", page.Tens1Sign);
    ok = ok && ini.WriteString(kSection, "TSense", page.TSens.text);
    ok = ok && ini.WriteString(kSection, "TRange", page.TRange.text);
    ok = ok && ini.WriteString(kSection, "AnalogMin", page.AnalogMin.text);
    ok = ok && ini.WriteString(kSection, "AnalogMax", page.AnalogMax.text);
    ok = ok && ini.WriteBool(kSection, "AnalogAbs", page.AnalogAbsolute);
    ok = ok && ini.WriteInteger(kSection, "ModbusAddress", page.ModbusAddress);
    ok = ok && ini.WriteInteger(kSection, "ModbusBaud", page.ModbusBaud);
    ok = ok && ini.WriteInteger(kSection, "ModbusParity", page.ModbusParity);
    return ok;
}

void ReadConfig(const IniFile& ini, SettingsPageValues& page) {
    namespace items = settings_items;
    page.TensDecp = ReadList(ini, "Decp", 1, items::kDecimals.size());
    page.TensUnits = ReadList(ini, "TUnits", 0, items::kUnits.size());
    page.TensFilter = ReadList(ini, "TFilter", 1, items::kFilter.size());
    page.TensDataRate = ReadList(ini, "TRate", 1, items::kDataRate.size());
    page.TOffset.text = ini.ReadString(kSection, "TOffset", "0");
    page.Tens1Sign = ini.ReadBool(kSection, "TSign", false);
    page.TSens.text = ini.ReadString(kSection, "TSense", "2.000");
    page.TRange.text = ini.ReadString(kSection, "TRange", "500");
    page.AnalogMin.text = ini.ReadString(kSection, "AnalogMin", "0");
    page.AnalogMax.text = ini.ReadString(kSection, "AnalogMax", "500");
    page.AnalogAbsolute = ini.ReadBool(kSection, "AnalogAbs", false);
    page.ModbusAddress =
        ReadList(ini, "ModbusAddress", 0, static_cast<std::size_t>(items::kModbusAddresses));
    page.ModbusBaud = ReadList(ini, "ModbusBaud", 1, items::kBaud.size());
    page.ModbusParity = ReadList(ini, "ModbusParity", 0, items::kParity.size());
}

std::optional<std::string> SaveConfigFile(const std::string& path, const SettingsPageValues& page) {
    const std::string failure = "Unable to write to " + path;
    IniFile ini;
    // An old file that cannot be read is not replaced: what else it holds would be lost.
    if (ini.LoadFile(path) == IniFile::LoadResult::Failed) return failure;
    if (!WriteConfig(ini, page)) return failure;
    if (!ini.Save(path)) return failure;
    return std::nullopt;
}

std::optional<std::string> LoadConfigFile(const std::string& path, SettingsPageValues& page) {
    IniFile ini;
    std::string error;
    if (ini.LoadFile(path, &error) == IniFile::LoadResult::Failed) return error;
    ReadConfig(ini, page);
    return std::nullopt;
}

}  // namespace karvo
