#include "chart/chart_format.h"

#include <cmath>
#include <initializer_list>

namespace karvo {

PrintRect ChartPrintArea(double pageWidth, double pageHeight) {
    return PrintRect{pageWidth * 0.10, pageHeight * 0.15, pageWidth * 0.80, pageHeight * 0.70};
}

double TimeAxisStep(double min, double max, int maxLabels) {
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min) || maxLabels < 2) return 0.0;
    // The smallest round step with at most maxLabels multiples inside the range.
    double step = std::pow(10.0, std::floor(std::log10((max - min) / maxLabels)));
    for (int guard = 0; guard < 8; ++guard) {
        for (const double m : {1.0, 2.0, 5.0}) {
            const double s = step * m;
            const double count = std::floor(max / s) - std::ceil(min / s) + 1.0;
            if (count <= maxLabels) return s;
        }
        step *= 10.0;
    }
    return step;
}

}  // namespace karvo
