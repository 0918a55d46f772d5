#include "protocol/records.h"

#include <cstring>

namespace karvo {

void StoreU32(std::uint8_t* dst, std::uint32_t v) {
    dst[0] = static_cast<std::uint8_t>(v & 0xFFu);
    dst[1] = static_cast<std::uint8_t>((v >> 8) & 0xFFu);
    dst[2] = static_cast<std::uint8_t>((v >> 16) & 0xFFu);
    dst[3] = static_cast<std::uint8_t>((v >> 24) & 0xFFu);
}

void StoreU16(std::uint8_t* dst, std::uint16_t v) {
    dst[0] = static_cast<std::uint8_t>(v & 0xFFu);
    dst[1] = static_cast<std::uint8_t>((v >> 8) & 0xFFu);
}

void StoreFloat(std::uint8_t* dst, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    StoreU32(dst, bits);
}

std::uint32_t LoadU32(const std::uint8_t* src) {
    return static_cast<std::uint32_t>(src[0]) | (static_cast<std::uint32_t>(src[1]) << 8) |
           (static_cast<std::uint32_t>(src[2]) << 16) | (static_cast<std::uint32_t>(src[3]) << 24);
}

std::uint16_t LoadU16(const std::uint8_t* src) {
    return static_cast<std::uint16_t>(src[0] | (src[1] << 8));
}

float LoadFloat(const std::uint8_t* src) {
    const std::uint32_t bits = LoadU32(src);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string FixedText(const std::array<char, 12>& field) {
    std::size_t n = 0;
    while (n < field.size() && field[n] != '\0') ++n;
    return std::string(field.data(), n);
}

namespace {
void LoadText(std::array<char, 12>& dst, const std::uint8_t* src) {
    for (std::size_t i = 0; i < dst.size(); ++i) dst[i] = static_cast<char>(src[i]);
}
void StoreText(std::uint8_t* dst, const std::array<char, 12>& src) {
    for (std::size_t i = 0; i < src.size(); ++i) dst[i] = static_cast<std::uint8_t>(src[i]);
}
}  // namespace

TDeviceInfoRecord TDeviceInfoRecord::Decode(const std::uint8_t* b) {
    TDeviceInfoRecord r;
    r.FirmwareVersion = LoadFloat(b + 0);
    r.InfoReserved = b[4];
    LoadText(r.DeviceName, b + 5);
    LoadText(r.DeviceDetail, b + 17);
    return r;
}

void TDeviceInfoRecord::Encode(std::uint8_t* b) const {
    StoreFloat(b + 0, FirmwareVersion);
    b[4] = InfoReserved;
    StoreText(b + 5, DeviceName);
    StoreText(b + 17, DeviceDetail);
}

TDeviceSettingsRecord TDeviceSettingsRecord::Decode(const std::uint8_t* b) {
    TDeviceSettingsRecord r;
    r.TSense = LoadFloat(b + 0);
    r.TRange = LoadU32(b + 4);
    r.TOffset = LoadFloat(b + 8);
    r.TRate = LoadU16(b + 12);
    r.TFilter = LoadU16(b + 14);
    r.TUnits = b[16];
    r.TSign = static_cast<std::int8_t>(b[17]);
    r.AnalogMin = LoadFloat(b + 18);
    r.AnalogMax = LoadFloat(b + 22);
    r.AnalogFactor1 = LoadFloat(b + 26);
    r.AnalogFactor2 = LoadFloat(b + 30);
    r.AnalogMode = b[34];
    r.AnalogAbs = b[35];
    r.ModbusBaud = LoadU32(b + 36);
    r.ModbusParity = b[40];
    r.ModbusAddress = b[41];
    return r;
}

void TDeviceSettingsRecord::Encode(std::uint8_t* b) const {
    StoreFloat(b + 0, TSense);
    StoreU32(b + 4, TRange);
    StoreFloat(b + 8, TOffset);
    StoreU16(b + 12, TRate);
    StoreU16(b + 14, TFilter);
    b[16] = TUnits;
    b[17] = static_cast<std::uint8_t>(TSign);
    StoreFloat(b + 18, AnalogMin);
    StoreFloat(b + 22, AnalogMax);
    StoreFloat(b + 26, AnalogFactor1);
    StoreFloat(b + 30, AnalogFactor2);
    b[34] = AnalogMode;
    b[35] = AnalogAbs;
    StoreU32(b + 36, ModbusBaud);
    b[40] = ModbusParity;
    b[41] = ModbusAddress;
}

bool operator==(const TDeviceSettingsRecord& a, const TDeviceSettingsRecord& b) {
    std::uint8_t ea[TDeviceSettingsRecord::kSize];
    std::uint8_t eb[TDeviceSettingsRecord::kSize];
    a.Encode(ea);
    b.Encode(eb);
    return std::memcmp(ea, eb, sizeof ea) == 0;
}

TMeasurementRecord TMeasurementRecord::Decode(const std::uint8_t* b) {
    TMeasurementRecord r;
    r.AdcRaw = static_cast<std::int16_t>(LoadU16(b + 0));
    r.LoadN = LoadFloat(b + 2);
    r.Value = LoadFloat(b + 6);
    r.Spare = LoadFloat(b + 10);
    r.MinValue = LoadFloat(b + 14);
    r.MaxValue = LoadFloat(b + 18);
    r.AnalogOutput = LoadFloat(b + 22);
    r.StatusFlags = b[26];
    r.SignalmV = LoadFloat(b + 27);
    r.CalibSignal = LoadFloat(b + 31);
    return r;
}

void TMeasurementRecord::Encode(std::uint8_t* b) const {
    StoreU16(b + 0, static_cast<std::uint16_t>(AdcRaw));
    StoreFloat(b + 2, LoadN);
    StoreFloat(b + 6, Value);
    StoreFloat(b + 10, Spare);
    StoreFloat(b + 14, MinValue);
    StoreFloat(b + 18, MaxValue);
    StoreFloat(b + 22, AnalogOutput);
    b[26] = StatusFlags;
    StoreFloat(b + 27, SignalmV);
    StoreFloat(b + 31, CalibSignal);
}

}  // namespace karvo
