#pragma once

namespace karvo {
constexpr const char* kProgramName = "KARVO-PC";
constexpr const char* kVersion = "1.04";
constexpr const char* kCaptionSeparator = "  ver.: ";
// The application title: the caption of the error box.
constexpr const char* kApplicationTitle = "MERON";
}  // namespace karvo
