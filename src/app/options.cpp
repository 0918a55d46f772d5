#include "app/options.h"

#include "settings/ini_file.h"

namespace karvo {

AppOptions AppOptions::Read(const IniFile& ini) {
    const char* s = kOptionsSection;
    AppOptions d;
    AppOptions o;
    o.Checkbox_DataAcquistion =
        ini.ReadBool(s, "Checkbox_DataAcquistion", d.Checkbox_DataAcquistion);
    o.DataAcquistionSpeed = ini.ReadInteger(s, "DataAcquistionSpeed", d.DataAcquistionSpeed);
    o.FileName = ini.ReadString(s, "FileName", d.FileName);
    o.SaveDate = ini.ReadBool(s, "SaveDate", d.SaveDate);
    o.SaveTime = ini.ReadBool(s, "SaveTime", d.SaveTime);
    o.SaveDataCnt = ini.ReadBool(s, "SaveDataCnt", d.SaveDataCnt);
    o.SaveDataSummary = ini.ReadBool(s, "SaveDataSummary", d.SaveDataSummary);
    o.ChartSeries5 = ini.ReadBool(s, "ChartSeries5", d.ChartSeries5);
    o.TimeSize = ini.ReadInteger(s, "TimeSize", d.TimeSize);
    o.Sampling = ini.ReadInteger(s, "Sampling", d.Sampling);
    o.Language = ini.ReadInteger(s, "Language", d.Language);
    return o;
}

void AppOptions::WriteAtClosing(IniFile& ini) const {
    const char* s = kOptionsSection;
    ini.WriteBool(s, "Checkbox_DataAcquistion", Checkbox_DataAcquistion);
    ini.WriteInteger(s, "DataAcquistionSpeed", DataAcquistionSpeed);
    ini.WriteBool(s, "SaveDate", SaveDate);
    ini.WriteBool(s, "SaveTime", SaveTime);
    ini.WriteBool(s, "SaveDataCnt", SaveDataCnt);
    ini.WriteBool(s, "SaveDataSummary", SaveDataSummary);
    ini.WriteBool(s, "ChartSeries5", ChartSeries5);
    ini.WriteInteger(s, "TimeSize", TimeSize);
    ini.WriteInteger(s, "Sampling", Sampling);
    ini.WriteInteger(s, "DecimalPoint", DecimalPoint);
    ini.WriteInteger(s, "Language", Language);
}

std::string PathExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return {};
    const std::size_t sep = path.find_last_of("/\\:");
    if (sep != std::string::npos && sep > dot) return {};
    return path.substr(dot);
}

std::string RecordingFileName(const std::string& chosen) {
    return PathExtension(chosen) == ".csv" ? chosen : chosen + ".csv";
}

}  // namespace karvo
