// The amplifier's settings as the command-line tool shows, saves, checks and compares them.
#pragma once

#include <string>
#include <vector>

#include "protocol/device_link.h"
#include "settings/ini_file.h"
#include "settings/settings_values.h"

namespace karvo::cli {

// The shortest plain decimal text ("." separator, no exponent) that reads back as exactly
// `value`; "NAN", "INF" and "-INF" for the values that have none.
std::string ExactText(float value);

// One "key = value  # meaning" line of the settings.
struct SettingLine {
    std::string key;
    std::string value;
    std::string meaning;
};
std::vector<SettingLine> DescribeSettings(const TDeviceSettingsRecord& settings);
// The lines aligned, one per line, each ending with "\n".
std::string FormatLines(const std::vector<SettingLine>& lines);

// "N", "kN", ... for a unit index; "?" for an unknown one.
std::string UnitName(int unitIndex);

// The settings page as it stands after the window has shown `settings`, with the decimal
// texts written so that they read back as the amplifier's values, and the decimals list set
// to what those texts need (at most 4).
SettingsPageValues PageFromSettings(const TDeviceSettingsRecord& settings, DeviceLink& link);

// A configuration file checked as "Zapisz" checks the page loaded from it.
struct FileCheck {
    SettingsPageValues page;            // as loaded
    std::vector<std::string> refusals;  // "<key>: <why>", one per refused key
    std::vector<std::string> warnings;  // keys missing from the file, whose default is used
};
// Loads the Config keys of `ini` as the window does and checks them: the five typed fields
// with the entry checks and ranges of the settings write, every list index against its list.
// Unlike the window, a list or box key whose text is not a whole number is refused rather
// than replaced by its default.
FileCheck CheckConfig(const IniFile& ini);

// The record a settings write sends for `page`, starting from the amplifier's `current`
// settings (the analog-output mode, which no file holds, is kept). The page must have passed
// CheckConfig.
TDeviceSettingsRecord RecordForPage(const SettingsPageValues& page,
                                    const TDeviceSettingsRecord& current);

// "<key>: file <a>, amplifier <b>" for every setting that differs (AnalogFactor1 and
// AnalogFactor2, which the window always sends as 1.0, are not compared).
std::vector<std::string> Differences(const TDeviceSettingsRecord& expected,
                                     const TDeviceSettingsRecord& actual);

}  // namespace karvo::cli
