// The file name under which the chart picture is saved.
#pragma once

#include <string>

namespace karvo {

// The chosen name, with ".bmp" appended unless the file name (the part after the last
// folder separator or drive colon) already ends in an extension of exactly ".bmp"; the
// comparison is case-sensitive, and a dot in a folder name does not count.
std::string PictureFileName(const std::string& chosen);

}  // namespace karvo
