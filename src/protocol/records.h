// The three packed little-endian records the amplifier exchanges with the PC.
// Decoded from and encoded to bytes field by field at their fixed offsets;
// the in-memory structs are ordinary C++ structs and are never cast to bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace karvo {

// Little-endian byte access shared by every record and frame.
void StoreU32(std::uint8_t* dst, std::uint32_t v);  // least significant byte first
void StoreU16(std::uint8_t* dst, std::uint16_t v);
void StoreFloat(std::uint8_t* dst, float v);         // single-precision bit pattern
std::uint32_t LoadU32(const std::uint8_t* src);
std::uint16_t LoadU16(const std::uint8_t* src);
float LoadFloat(const std::uint8_t* src);

// Text of a fixed-size field: up to the first zero byte, never past the field.
std::string FixedText(const std::array<char, 12>& field);

struct TDeviceInfoRecord {
    static constexpr std::size_t kSize = 29;
    float FirmwareVersion = 0.0f;
    std::uint8_t InfoReserved = 0;
    std::array<char, 12> DeviceName{};
    std::array<char, 12> DeviceDetail{};

    std::string Name() const { return FixedText(DeviceName); }
    std::string Detail() const { return FixedText(DeviceDetail); }

    static TDeviceInfoRecord Decode(const std::uint8_t* bytes);
    void Encode(std::uint8_t* bytes) const;
};

struct TDeviceSettingsRecord {
    static constexpr std::size_t kSize = 42;
    float TSense = 0.0f;
    std::uint32_t TRange = 0;
    float TOffset = 0.0f;
    std::uint16_t TRate = 0;
    std::uint16_t TFilter = 0;
    std::uint8_t TUnits = 0;
    std::int8_t TSign = 0;
    float AnalogMin = 0.0f;
    float AnalogMax = 0.0f;
    float AnalogFactor1 = 0.0f;
    float AnalogFactor2 = 0.0f;
    std::uint8_t AnalogMode = 0;
    std::uint8_t AnalogAbs = 0;
    std::uint32_t ModbusBaud = 0;
    std::uint8_t ModbusParity = 0;
    std::uint8_t ModbusAddress = 0;

    static TDeviceSettingsRecord Decode(const std::uint8_t* bytes);
    void Encode(std::uint8_t* bytes) const;
};

bool operator==(const TDeviceSettingsRecord& a, const TDeviceSettingsRecord& b);
inline bool operator!=(const TDeviceSettingsRecord& a, const TDeviceSettingsRecord& b) {
    return !(a == b);
}

struct TMeasurementRecord {
    static constexpr std::size_t kSize = 35;
    std::int16_t AdcRaw = 0;
    float LoadN = 0.0f;
    float Value = 0.0f;
    float Spare = 0.0f;
    float MinValue = 0.0f;
    float MaxValue = 0.0f;
    float AnalogOutput = 0.0f;
    std::uint8_t StatusFlags = 0;
    float SignalmV = 0.0f;
    float CalibSignal = 0.0f;

    static constexpr std::uint8_t kTareInput = 0x01;
    static constexpr std::uint8_t kSensorError = 0x02;
    static constexpr std::uint8_t kConverterError = 0x04;

    static TMeasurementRecord Decode(const std::uint8_t* bytes);
    void Encode(std::uint8_t* bytes) const;
};

}  // namespace karvo
