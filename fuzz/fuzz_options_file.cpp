// The options file (config.ini) as the program loads it at start and writes it at closing:
// the file read, the options taken from it, the closing write over the same file and the
// options read again, which must be the ones written (and the file name kept).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/language.h"
#include "app/options.h"
#include "fuzz_common.h"
#include "settings/ini_file.h"

namespace {

using namespace karvo;
using karvo::fuzz::Fail;

bool SameWritten(const AppOptions& a, const AppOptions& b) {
    return a.Checkbox_DataAcquistion == b.Checkbox_DataAcquistion &&
           a.DataAcquistionSpeed == b.DataAcquistionSpeed && a.FileName == b.FileName &&
           a.SaveDate == b.SaveDate && a.SaveTime == b.SaveTime && a.SaveDataCnt == b.SaveDataCnt &&
           a.SaveDataSummary == b.SaveDataSummary && a.ChartSeries5 == b.ChartSeries5 &&
           a.TimeSize == b.TimeSize && a.Sampling == b.Sampling && a.Language == b.Language;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::ScratchPath("config.ini");
    if (!fuzz::WriteWhole(path, data, size)) return 0;

    IniFile ini;
    std::string error;
    if (ini.LoadFile(path, &error) != IniFile::LoadResult::Loaded) Fail("file not loaded", error);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (ini.Text() != text) Fail("file read differs from its bytes");

    AppOptions read = AppOptions::Read(ini);
    const int language = Localizer::ListIndexForOption(read.Language);
    if (language != 0 && language != 1) Fail("language index out of the list");

    // The closing write takes what the window shows; here, what was read.
    read.DecimalPoint = static_cast<int>(size % 6) - 1;
    read.WriteAtClosing(ini);
    const IniFile written(ini.Text());
    const AppOptions again = AppOptions::Read(written);
    if (!SameWritten(read, again)) Fail("options read back differ from those written");
    if (written.ReadInteger(kOptionsSection, "DecimalPoint", -99) != read.DecimalPoint)
        Fail("DecimalPoint not written");
    return 0;
}
