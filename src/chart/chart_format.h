// The look of the printed chart and of the time axis labels.
#pragma once

namespace karvo {

struct PrintRect {
    double left, top, width, height;
};

// The printed chart's area on a page: margins of 10 % left and right and 15 % top and
// bottom of the page, the chart stretched to fill it.
PrintRect ChartPrintArea(double pageWidth, double pageHeight);

// The step between time axis labels: 1, 2 or 5 times a power of ten, the smallest that
// puts at most `maxLabels` labels on [min, max]; 0 for an empty or invalid range.
double TimeAxisStep(double min, double max, int maxLabels);

}  // namespace karvo
