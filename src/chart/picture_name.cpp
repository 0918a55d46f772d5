#include "chart/picture_name.h"

namespace karvo {

std::string PictureFileName(const std::string& chosen) {
    const std::size_t sep = chosen.find_last_of("/\\:");
    const std::size_t nameStart = sep == std::string::npos ? 0 : sep + 1;
    const std::size_t dot = chosen.rfind('.');
    const bool hasExt = dot != std::string::npos && dot >= nameStart;
    if (hasExt && chosen.compare(dot, std::string::npos, ".bmp") == 0) return chosen;
    return chosen + ".bmp";
}

}  // namespace karvo
