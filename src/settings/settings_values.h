// The controls of the settings page as plain values, and the items of its lists.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/device_link.h"

namespace karvo {

namespace settings_items {
constexpr std::array<const char*, 6> kUnits = {"N - niuton",    "kN - kiloN", "g - gram",
                                               "kg - kilogram", "T - tona",   "F - funt"};
constexpr std::array<const char*, 6> kFilter = {"0", "8", "32", "64", "128", "256"};
constexpr std::array<const char*, 6> kDataRate = {"4 / sek.",   "10 / sek.",  "33  / sek.",
                                                  "50  / sek.", "62  / sek.", "123  / sek."};
constexpr std::array<const char*, 5> kBaud = {"9600", "19200", "38400", "57600", "115200"};
constexpr std::array<const char*, 3> kParity = {"None", "Odd", "Even"};
constexpr std::array<const char*, 5> kDecimals = {"0", "1", "2", "3", "4"};
constexpr int kModbusAddresses = 247;
// "1" ... "247".
std::vector<std::string> ModbusAddressItems();
}  // namespace settings_items

// A text field: its text and background colour (colour::Window when normal).
struct EntryField {
    std::string text = "0";
    std::uint32_t colour = colour::Window;
};

// Every control of the page that holds a setting, in its design state. A list's value is its
// selected index, -1 for no selection.
struct SettingsPageValues {
    int TensUnits = 0;            // Cb_TensUnits
    int TensFilter = 1;           // Cb_TensFilter ("8")
    int TensDataRate = 0;         // Cb_TensDataRate
    EntryField TOffset;           // Edit_TOffset
    bool Tens1Sign = false;       // CB_Tens1Sign
    EntryField TSens;             // Edit_TSens
    EntryField TRange;            // Edit_TRange
    bool Amode010V = true;        // RB_amode010V
    bool Amode420mA = false;      // RB_amode420mA
    EntryField AnalogMin;         // Edit_AnalogMin
    EntryField AnalogMax;         // Edit_AnalogMax
    bool AnalogAbsolute = false;  // Cb_AnalogAbsolute
    int ModbusAddress = 0;        // Cb_ModbusAddress ("1")
    int ModbusBaud = 2;           // Cb_ModbusBaud ("38400")
    int ModbusParity = 0;         // Cb_ModbusParity ("None")
    int TensDecp = 0;             // Cb_TensDecp
};

}  // namespace karvo
