// Device configuration files (*.cfg): the settings page's controls as INI text, a header
// section with the program version and the section Config with fifteen keys.
#pragma once

#include <optional>
#include <string>

#include "app/dialogs.h"
#include "settings/ini_file.h"
#include "settings/settings_values.h"

namespace karvo {

namespace config_file {
extern const char* const kHeaderSection;  // "KARVP config " (with its trailing blank)
extern const char* const kVersionKey;     // "Software version"
extern const char* const kSection;        // "Config"
}  // namespace config_file

// SaveDialog_Config and OpenDialog_Config.
FileDialogRequest SaveConfigDialogRequest();
FileDialogRequest OpenConfigDialogRequest();

// Writes the header key and the Config keys in their order, each from the page as it stands.
// False when a value cannot be stored (a text holding a line break).
bool WriteConfig(IniFile& ini, const SettingsPageValues& page);
// Reads the Config keys in their order into the page: list indexes taken as they are (-1 when
// outside the list), texts unchanged, boxes checked when non-zero; a missing key, or a list or
// box key that is not an integer, gives that key's default. Colours are not touched.
void ReadConfig(const IniFile& ini, SettingsPageValues& page);

// The whole save: keeps whatever else the old file holds and replaces it atomically. Returns
// the message to show on failure ("Unable to write to <path>").
std::optional<std::string> SaveConfigFile(const std::string& path, const SettingsPageValues& page);
// The whole load: a missing file loads every default. A file that exists but cannot be read
// leaves the page as it was and returns the message to show.
std::optional<std::string> LoadConfigFile(const std::string& path, SettingsPageValues& page);

}  // namespace karvo
