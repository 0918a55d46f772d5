#include <gtest/gtest.h>

#include <string>

#include "chart/chart_format.h"
#include "chart/picture_name.h"

namespace karvo {
namespace {

TEST(PictureFileNameTest, AppendsBmpUnlessTheFileNameEndsInExactlyBmp) {
    const struct {
        const char* chosen;
        const char* saved;
    } cases[] = {
        {"wykres", "wykres.bmp"},
        {"wykres.bmp", "wykres.bmp"},
        {"wykres.BMP", "wykres.BMP.bmp"},
        {"wykres.png", "wykres.png.bmp"},
        {"wykres.bmp.png", "wykres.bmp.png.bmp"},
        {"wykres.", "wykres..bmp"},
        {"C:\\pomiary.old\\wykres", "C:\\pomiary.old\\wykres.bmp"},
        {"C:\\pomiary.old\\wykres.bmp", "C:\\pomiary.old\\wykres.bmp"},
        {"/home/jan/pomiary.old/wykres", "/home/jan/pomiary.old/wykres.bmp"},
        {"/home/jan/.bmp", "/home/jan/.bmp"},
        {"D:wykres", "D:wykres.bmp"},
    };
    for (const auto& c : cases) EXPECT_EQ(PictureFileName(c.chosen), c.saved) << c.chosen;
}

TEST(ChartFormatTest, PrintAreaHasTheMarginsAndFillsThem) {
    const PrintRect r = ChartPrintArea(1000.0, 2000.0);
    EXPECT_DOUBLE_EQ(r.left, 100.0);
    EXPECT_DOUBLE_EQ(r.top, 300.0);
    EXPECT_DOUBLE_EQ(r.width, 800.0);
    EXPECT_DOUBLE_EQ(r.height, 1400.0);
}

TEST(ChartFormatTest, TimeAxisStepIsRoundAndFitsTheLabels) {
    const struct {
        double min, max;
        int labels;
        double step;
    } cases[] = {
        {0.0, 10.0, 8, 2.0},  // 0 2 4 6 8 10
        {0.1000023, 10.1000023, 8, 2.0},
        {3590.0125, 3600.0125, 8, 2.0},
        {0.0, 1.0, 8, 0.2},
        {0.0, 3600.0, 8, 500.0},
        {0.0, 1.0, 3, 0.5},
        {12.3456, 12.3457, 8, 0.00002},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(TimeAxisStep(c.min, c.max, c.labels), c.step, c.step * 1e-9)
            << c.min << " " << c.max;
    }
    EXPECT_EQ(TimeAxisStep(1.0, 1.0, 8), 0.0);
    EXPECT_EQ(TimeAxisStep(2.0, 1.0, 8), 0.0);
}

}  // namespace
}  // namespace karvo
