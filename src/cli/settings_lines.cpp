#include "cli/settings_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/dialogs.h"
#include "app/shared_state.h"
#include "settings/config_file.h"
#include "settings/entry_check.h"
#include "settings/settings_form.h"

namespace karvo::cli {
namespace {

namespace items = settings_items;
namespace lim = settings_limits;

constexpr std::array<const char*, 6> kUnitNames = {"N", "kN", "g", "kg", "T", "F"};
constexpr std::array<const char*, 6> kUnitMeanings = {"newton",   "kilonewton", "gram",
                                                      "kilogram", "tonne",      "pound-force"};

class NoDialogs : public Dialogs {
  public:
    int MessageBox(const std::string&, const std::string&, int) override { return mb::ResultOk; }
    std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return {}; }
};

class NoLinkView : public LinkView {
  public:
    void SetConnectionText(const std::string&) override {}
    void SetConnectionColour(std::uint32_t) override {}
    void SetStatusLine(const std::string&) override {}
    void ShowSettings(const TDeviceSettingsRecord&) override {}
    void UpdateUnitLabels() override {}
    int MessageBox(const std::string&, const std::string&, int) override { return mb::ResultOk; }
    int ActivePageIndex() const override { return kSettingsPage; }
};

float ReadBack(const std::string& text) {
    const auto v = TryStrToFloat(text, ".");
    return v ? static_cast<float>(*v) : std::nanf("");
}

int DecimalsOf(const std::string& text) {
    const auto dot = text.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
}

// The number of a data-rate item ("33  / sek." is 33).
int RatePerSecond(std::size_t index) { return std::atoi(items::kDataRate[index]); }

std::string Joined(const char* const* texts, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) s += ", ";
        s += texts[i];
    }
    return s;
}

struct ListKey {
    const char* key;
    int SettingsPageValues::*field;
    int count;
};

const ListKey kListKeys[] = {
    {"Decp", &SettingsPageValues::TensDecp, static_cast<int>(items::kDecimals.size())},
    {"TUnits", &SettingsPageValues::TensUnits, static_cast<int>(items::kUnits.size())},
    {"TFilter", &SettingsPageValues::TensFilter, static_cast<int>(items::kFilter.size())},
    {"TRate", &SettingsPageValues::TensDataRate, static_cast<int>(items::kDataRate.size())},
    {"ModbusAddress", &SettingsPageValues::ModbusAddress, items::kModbusAddresses},
    {"ModbusBaud", &SettingsPageValues::ModbusBaud, static_cast<int>(items::kBaud.size())},
    {"ModbusParity", &SettingsPageValues::ModbusParity, static_cast<int>(items::kParity.size())},
};

const char* const kBoxKeys[] = {"TSign", "AnalogAbs"};

struct TextKey {
    const char* key;
    EntryField SettingsPageValues::*field;
    bool whole;
    float min, max;
};

const TextKey kTextKeys[] = {
    {"TRange", &SettingsPageValues::TRange, true, lim::kRangeMin, lim::kRangeMax},
    {"TSense", &SettingsPageValues::TSens, false, lim::kSenseMin, lim::kSenseMax},
    {"TOffset", &SettingsPageValues::TOffset, false, lim::kOffsetMin, lim::kOffsetMax},
    {"AnalogMin", &SettingsPageValues::AnalogMin, false, lim::kAnalogMin, lim::kAnalogMax},
    {"AnalogMax", &SettingsPageValues::AnalogMax, false, lim::kAnalogMin, lim::kAnalogMax},
};

// The keys in the order of the file.
const char* const kKeyOrder[] = {
    "Decp",   "TUnits",    "TFilter",   "TRate",     "TOffset",       "TSign",      "TSense",
    "TRange", "AnalogMin", "AnalogMax", "AnalogAbs", "ModbusAddress", "ModbusBaud", "ModbusParity"};

// Messages beginning with a key name, in the order of the file.
void SortByKey(std::vector<std::string>& messages) {
    const auto rank = [](const std::string& m) {
        for (std::size_t i = 0; i < std::size(kKeyOrder); ++i) {
            const std::size_t n = std::strlen(kKeyOrder[i]);
            if (m.compare(0, n, kKeyOrder[i]) == 0 &&
                (m.size() == n || m[n] == ':' || m[n] == ' ')) {
                return i;
            }
        }
        return std::size(kKeyOrder);
    };
    std::stable_sort(messages.begin(), messages.end(),
                     [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); });
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string ExactText(float value) {
    if (!std::isfinite(value)) return FormatFixed(value, 8, 0, NumberLocale{});
    char buf[128];
    for (int d = 0; d <= 60; ++d) {
        std::snprintf(buf, sizeof buf, "%.*f", d, static_cast<double>(value));
        if (ReadBack(buf) == value) return buf;
    }
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(value));
    return buf;
}

std::string UnitName(int unitIndex) {
    if (unitIndex < 0 || unitIndex >= static_cast<int>(kUnitNames.size())) return "?";
    return kUnitNames[static_cast<std::size_t>(unitIndex)];
}

std::vector<SettingLine> DescribeSettings(const TDeviceSettingsRecord& s) {
    std::vector<SettingLine> lines;
    const std::string unit = UnitName(s.TUnits);
    const auto add = [&lines](std::string key, std::string value, std::string meaning) {
        lines.push_back({std::move(key), std::move(value), std::move(meaning)});
    };

    add("TUnits", std::to_string(s.TUnits),
        s.TUnits < kUnitNames.size()
            ? std::string("unit: ") + kUnitNames[s.TUnits] + " (" + kUnitMeanings[s.TUnits] + ")"
            : "unknown unit");
    add("TSense", ExactText(s.TSense), "sensor constant (rated output), mV/V");
    add("TRange", std::to_string(s.TRange), "sensor range (capacity), N");
    add("TOffset", ExactText(s.TOffset), "offset added to the value, " + unit);
    add("TSign", std::to_string(s.TSign),
        s.TSign == -1  ? "sign inverted"
        : s.TSign == 1 ? "sign normal"
                       : "unknown sign");
    {
        std::string meaning = "not one of the filters " + Joined(items::kFilter.data(), 6);
        for (const char* f : items::kFilter) {
            if (std::to_string(s.TFilter) == f) {
                meaning = s.TFilter == 0 ? "no averaging filter"
                                         : "averaging filter over " + std::string(f) + " samples";
            }
        }
        add("TFilter", std::to_string(s.TFilter), meaning);
    }
    add("TRate", std::to_string(s.TRate),
        s.TRate < items::kDataRate.size()
            ? "data rate: " + std::to_string(RatePerSecond(s.TRate)) + " measurements per second"
            : "unknown data rate");
    const bool current = s.AnalogMode == 1;
    add("AnalogMode", std::to_string(s.AnalogMode),
        s.AnalogMode == 0   ? "analog output 0-10 V"
        : s.AnalogMode == 1 ? "analog output 4-20 mA"
                            : "unknown analog output mode");
    add("AnalogAbs", std::to_string(s.AnalogAbs),
        s.AnalogAbs ? "analog output follows the absolute value"
                    : "analog output follows the value");
    add("AnalogMin", ExactText(s.AnalogMin),
        std::string("value at which the output is ") + (current ? "4 mA" : "0 V") + ", " + unit);
    add("AnalogMax", ExactText(s.AnalogMax),
        std::string("value at which the output is ") + (current ? "20 mA" : "10 V") + ", " + unit);
    add("ModbusAddress", std::to_string(s.ModbusAddress), "Modbus (RS485) address");
    add("ModbusBaud", std::to_string(s.ModbusBaud), "Modbus baud rate, bit/s");
    add("ModbusParity", std::to_string(s.ModbusParity),
        s.ModbusParity < items::kParity.size()
            ? std::string("Modbus parity: ") + items::kParity[s.ModbusParity]
            : "unknown parity");
    return lines;
}

std::string FormatLines(const std::vector<SettingLine>& lines) {
    std::size_t keyWidth = 0, valueWidth = 0;
    for (const auto& l : lines) {
        keyWidth = std::max(keyWidth, l.key.size());
        valueWidth = std::max(valueWidth, l.value.size());
    }
    std::string out;
    for (const auto& l : lines) {
        out += l.key + std::string(keyWidth - l.key.size(), ' ') + " = " + l.value;
        if (!l.meaning.empty()) {
            out += std::string(valueWidth - l.value.size(), ' ') + "  # " + l.meaning;
        }
        out += "\n";
    }
    return out;
}

SettingsPageValues PageFromSettings(const TDeviceSettingsRecord& settings, DeviceLink& link) {
    SharedDisplayState shared;
    NoDialogs dialogs;
    StringTable strings;
    SettingsForm form(link, shared, dialogs, strings);
    form.ShowSettings(settings);
    SettingsPageValues page = form.Page();
    // The window's texts carry only as many digits as it shows; the file gets them all.
    page.TSens.text = ExactText(settings.TSense);
    page.TOffset.text = ExactText(settings.TOffset);
    page.AnalogMin.text = ExactText(settings.AnalogMin);
    page.AnalogMax.text = ExactText(settings.AnalogMax);
    int decimals = 0;
    for (const auto* f : {&page.TOffset, &page.AnalogMin, &page.AnalogMax}) {
        decimals = std::max(decimals, DecimalsOf(f->text));
    }
    page.TensDecp = std::min(decimals, static_cast<int>(items::kDecimals.size()) - 1);
    return page;
}

FileCheck CheckConfig(const IniFile& ini) {
    using config_file::kSection;
    FileCheck check;
    ReadConfig(ini, check.page);

    const auto raw = [&ini](const char* key) { return ini.ReadString(kSection, key, ""); };
    const auto missing = [&](const char* key) {
        if (ini.ValueExists(kSection, key)) return false;
        check.warnings.push_back(std::string(key) + " is missing; its default is used");
        return true;
    };

    for (const auto& k : kListKeys) {
        if (missing(k.key)) continue;
        const std::string text = raw(k.key);
        if (!IniFile::ParseInteger(text)) {
            check.refusals.push_back(std::string(k.key) + ": " + Quoted(text) +
                                     " is not a whole number");
        } else if (check.page.*k.field < 0) {
            check.refusals.push_back(std::string(k.key) + ": " + Quoted(text) +
                                     " is not a list index (0 to " + std::to_string(k.count - 1) +
                                     ")");
        }
    }
    for (const char* key : kBoxKeys) {
        if (missing(key)) continue;
        const std::string text = raw(key);
        if (!IniFile::ParseInteger(text)) {
            check.refusals.push_back(std::string(key) + ": " + Quoted(text) +
                                     " is not a whole number (0 or 1)");
        }
    }

    for (const auto& k : kTextKeys) missing(k.key);

    // The write's own checks decide; the texts say why.
    SettingsPageValues checked = check.page;
    TDeviceSettingsRecord record;
    const bool passed = FillSettingsRecord(checked, record, NumberLocale{});
    const int decimals = std::max(check.page.TensDecp, 0);
    for (const auto& k : kTextKeys) {
        const EntryField& field = checked.*k.field;
        if (field.colour != colour::LightRed) continue;
        const std::string text = (check.page.*k.field).text;
        const bool converted =
            k.whole ? TryStrToInt(text).has_value()
                    : CheckFloatEntry(text, decimals, k.max, k.min, NumberLocale{}).converted;
        const std::string why = converted
                                    ? "outside " + ExactText(k.min) + " to " + ExactText(k.max)
                                : k.whole ? "not a whole number"
                                          : "not a number";
        check.refusals.push_back(std::string(k.key) + ": " + Quoted(text) + " is " + why);
    }
    if (!passed && check.refusals.empty()) check.refusals.push_back("the settings are refused");
    SortByKey(check.refusals);
    SortByKey(check.warnings);
    return check;
}

TDeviceSettingsRecord RecordForPage(const SettingsPageValues& page,
                                    const TDeviceSettingsRecord& current) {
    SettingsPageValues copy = page;
    copy.Amode010V = current.AnalogMode == 0;
    copy.Amode420mA = !copy.Amode010V;
    TDeviceSettingsRecord record = current;
    FillSettingsRecord(copy, record, NumberLocale{});
    return record;
}

std::vector<std::string> Differences(const TDeviceSettingsRecord& e,
                                     const TDeviceSettingsRecord& a) {
    std::vector<std::string> out;
    const auto cmp = [&out](const char* key, const std::string& x, const std::string& y,
                            bool same) {
        if (!same) out.push_back(std::string(key) + ": file " + x + ", amplifier " + y);
    };
    const auto f = [&cmp](const char* key, float x, float y) {
        cmp(key, ExactText(x), ExactText(y), std::memcmp(&x, &y, sizeof x) == 0 || x == y);
    };
    const auto i = [&cmp](const char* key, long long x, long long y) {
        cmp(key, std::to_string(x), std::to_string(y), x == y);
    };
    i("TUnits", e.TUnits, a.TUnits);
    f("TSense", e.TSense, a.TSense);
    i("TRange", e.TRange, a.TRange);
    f("TOffset", e.TOffset, a.TOffset);
    i("TSign", e.TSign, a.TSign);
    i("TFilter", e.TFilter, a.TFilter);
    i("TRate", e.TRate, a.TRate);
    i("AnalogMode", e.AnalogMode, a.AnalogMode);
    i("AnalogAbs", e.AnalogAbs, a.AnalogAbs);
    f("AnalogMin", e.AnalogMin, a.AnalogMin);
    f("AnalogMax", e.AnalogMax, a.AnalogMax);
    i("ModbusAddress", e.ModbusAddress, a.ModbusAddress);
    i("ModbusBaud", e.ModbusBaud, a.ModbusBaud);
    i("ModbusParity", e.ModbusParity, a.ModbusParity);
    return out;
}

}  // namespace karvo::cli
