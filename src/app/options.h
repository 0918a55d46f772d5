// The application options kept in config.ini, section Options.
#pragma once

#include <cstdint>
#include <string>

namespace karvo {

class IniFile;

struct AppOptions {
    bool Checkbox_DataAcquistion = false;
    std::int32_t DataAcquistionSpeed = 0;
    std::string FileName = "pomiary.csv";
    bool SaveDate = true;
    bool SaveTime = true;
    bool SaveDataCnt = true;
    bool SaveDataSummary = false;
    bool ChartSeries5 = true;
    std::int32_t TimeSize = 1;
    std::int32_t Sampling = 2;
    std::int32_t DecimalPoint = 0;  // written at closing, never read
    std::int32_t Language = 0;

    // Reads every key in its order with its default (missing file: all defaults).
    static AppOptions Read(const IniFile& ini);
    // The eleven keys written at closing, in order; FileName is not touched.
    void WriteAtClosing(IniFile& ini) const;
};

constexpr const char* kOptionsSection = "Options";
constexpr const char* kOptionsFileName = "config.ini";

// The extension of `path`: from the last "." after the last path separator and the drive
// colon, dot included; empty when there is none.
std::string PathExtension(const std::string& path);
// The recording file rule: a path whose extension is not exactly ".csv" gets ".csv" added.
std::string RecordingFileName(const std::string& chosen);

}  // namespace karvo
