#include "chart/chart_page.h"

#include <gtest/gtest.h>

#include <QCategoryAxis>
#include <QChart>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValueAxis>

#include "app/qt_util.h"
#include "app/string_table.h"
#include "protocol/device_link.h"
#include "support/fake_link_view.h"
#include "support/scripted_dialogs.h"

namespace karvo {
namespace {

class ChartPageTest : public ::testing::Test {
  protected:
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link{view, strings};
    test::ScriptedDialogs dialogs;
    ChartPage page{link, strings, dialogs};
    QTemporaryDir dir;

    template <typename T>
    T* Find(const char* name) {
        T* w = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineSeries* Series() {
        const auto all = page.Chart()->series();
        return all.size() == 1 ? qobject_cast<QLineSeries*>(all[0]) : nullptr;
    }
    // The start-up sequence of the main window with the stored indexes.
    void StartUp(int sampling, int window) {
        page.SetSamplingIndex(sampling);
        page.SetTimeWindowIndex(window);
        page.ComboB_ChartSamplingChange();
        page.Cb_ChartTimeWindowChange();
    }
    std::string Path(const char* name) { return ToStd(dir.filePath(QString::fromLatin1(name))); }
};

TEST_F(ChartPageTest, BuildsTheChartAndTheControls) {
    EXPECT_EQ(page.objectName(), "TabSheet_Chart");
    for (const char* name : {"Btn_ChartStart", "Btn_ChartReset", "Btn_Print",
                             "Btn_CharPrintSetting", "Btn_SaveBmpChart", "Btn_ChartTips"}) {
        Find<QPushButton>(name);
    }
    EXPECT_EQ(Find<QPushButton>("Btn_ChartStart")->text(), "Start/Pauza");
    EXPECT_EQ(Find<QPushButton>("Btn_ChartTips")->text(), "Pomoc");
    EXPECT_EQ(Find<QPushButton>("Btn_SaveBmpChart")->text(), "Zapisz jako obrazek");

    QWidget* chart = Find<QWidget>("Chart1");
    EXPECT_EQ(chart->size(), QSize(ChartPage::kChartWidth, ChartPage::kChartHeight));
    QLineSeries* series = Series();
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->objectName(), "Series5");
    EXPECT_EQ(series->name(), "Suma");
    EXPECT_EQ(series->pen().color(), QColor(Qt::black));
    EXPECT_EQ(series->pen().width(), 2);
    EXPECT_FALSE(page.Chart()->legend()->isVisible());
    const auto bottom = page.Chart()->axes(Qt::Horizontal);
    const auto left = page.Chart()->axes(Qt::Vertical);
    ASSERT_EQ(bottom.size(), 1);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(bottom[0]->titleText(), "Czas [s]");
    EXPECT_EQ(left[0]->titleText(), "Wartosc pomiaru");

    QComboBox* sampling = Find<QComboBox>("ComboB_ChartSampling");
    QComboBox* window = Find<QComboBox>("Cb_ChartTimeWindow");
    ASSERT_EQ(sampling->count(), 6);
    ASSERT_EQ(window->count(), 7);
    EXPECT_EQ(sampling->itemText(0), "80/sek.");
    EXPECT_EQ(window->itemText(6), "1 h.");
    EXPECT_EQ(sampling->toolTip(), "Okresla czestotliwosc dodawania nowych pomiarow do wykresu");
    EXPECT_EQ(window->toolTip(),
              "Okresla czas zapelnienia okna wykresu pomiarami. Po przekroczeniu czasu okno jest "
              "przesuwane.");

    QLineEdit* status = Find<QLineEdit>("ChartStatus");
    EXPECT_EQ(status->text(), "NIEAKTYWNY");
    EXPECT_TRUE(status->isReadOnly());
    EXPECT_EQ(BackgroundOf(status), colour::Window);
}

TEST_F(ChartPageTest, OptionSettersRunNoHandlerButAUserChoiceDoes) {
    page.SetTimeWindowIndex(0);
    page.SetSamplingIndex(0);
    EXPECT_EQ(page.TimeWindowIndex(), 0);
    EXPECT_EQ(page.SamplingIndex(), 0);
    EXPECT_EQ(page.Sampler().State().ChartWindow, 0u);
    EXPECT_DOUBLE_EQ(page.Sampler().Interval(), 0.02);

    page.SetTimeWindowIndex(9);
    page.SetSamplingIndex(-3);
    EXPECT_EQ(page.TimeWindowIndex(), -1);
    EXPECT_EQ(page.SamplingIndex(), -1);

    page.SetSeriesActive(false);
    EXPECT_FALSE(page.SeriesActive());
    EXPECT_FALSE(Series()->isVisible());
    page.SetSeriesActive(true);
    EXPECT_TRUE(Series()->isVisible());

    // The operator picks entries: the handlers run.
    Find<QComboBox>("Cb_ChartTimeWindow")->setCurrentIndex(2);
    EXPECT_EQ(page.Sampler().State().ChartWindow, 60u);
    Find<QComboBox>("ComboB_ChartSampling")->setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(page.Sampler().Interval(), 0.1);
}

TEST_F(ChartPageTest, StartSamplesTheLinkAndPausesWhenItIsLost) {
    StartUp(1, 1);  // 10/sek., 10 sek.
    link.State().Connected = true;
    link.State().Measurement.Value = 5.0f;
    Find<QPushButton>("Btn_ChartStart")->click();
    QLineEdit* status = Find<QLineEdit>("ChartStatus");
    EXPECT_EQ(status->text(), "AKTYWNY");
    EXPECT_EQ(BackgroundOf(status), colour::LightGreen);

    for (int i = 0; i < 3; ++i) page.ChartTimerTimer();
    page.RefreshChart();
    ASSERT_EQ(Series()->count(), 3);
    EXPECT_DOUBLE_EQ(Series()->at(2).y(), 5.0);
    auto* left = qobject_cast<QValueAxis*>(page.Chart()->axes(Qt::Vertical)[0]);
    EXPECT_DOUBLE_EQ(left->min(), -1.0);
    EXPECT_DOUBLE_EQ(left->max(), 6.0);

    link.State().Connected = false;
    page.ChartTimerTimer();
    EXPECT_EQ(status->text(), "NIEKATYWNY");
    EXPECT_EQ(BackgroundOf(status), colour::LightRed);
    page.RefreshChart();
    EXPECT_EQ(Series()->count(), 3);

    Find<QPushButton>("Btn_ChartReset")->click();
    page.RefreshChart();
    EXPECT_EQ(Series()->count(), 0);
    EXPECT_DOUBLE_EQ(left->max(), 1.0);
}

TEST_F(ChartPageTest, ALongRunDrawsAtMostFourPointsPerColumn) {
    StartUp(0, 6);  // 80/sek., 1 h.
    link.State().Connected = true;
    page.Btn_ChartStartClick();
    for (int i = 0; i < 40000; ++i) {
        link.State().Measurement.Value = static_cast<float>(i % 50);
        page.ChartTimerTimer();
    }
    page.RefreshChart();
    EXPECT_EQ(page.Sampler().Points().Size(), 40000u);
    EXPECT_GT(Series()->count(), 100);
    EXPECT_LE(Series()->count(), 4 * ChartPage::kChartWidth + 2);
}

TEST_F(ChartPageTest, SavesTheChartAsABitmapUnderTheBmpName) {
    StartUp(1, 1);
    link.State().Connected = true;
    page.Btn_ChartStartClick();
    for (int i = 0; i < 50; ++i) {
        link.State().Measurement.Value = static_cast<float>(i % 10);
        page.ChartTimerTimer();
    }
    dialogs.files.push_back(Path("wykres"));
    page.Btn_SaveBmpChartClick();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].filter, "Bitmap|*bmp");
    EXPECT_EQ(dialogs.requests[0].defaultExt, "");
    EXPECT_FALSE(dialogs.requests[0].overwritePrompt);
    EXPECT_TRUE(dialogs.boxes.empty());

    QFile file(dir.filePath("wykres.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), "BM");
    file.close();
    const QImage image(dir.filePath("wykres.bmp"));
    EXPECT_EQ(image.size(), QSize(ChartPage::kChartWidth, ChartPage::kChartHeight));
    // The never shown page still draws its line into the picture.
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 40 ? 1 : 0;
    }
    EXPECT_GT(dark, 200);

    // Chosen again: overwritten without a question.
    dialogs.files.push_back(Path("wykres.bmp"));
    page.Btn_SaveBmpChartClick();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("wykres.bmp.bmp")));

    // Cancelled: nothing.
    page.Btn_SaveBmpChartClick();
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ChartPageTest, AFailedPictureSaveNamesTheFile) {
    const std::string chosen = Path("brak.folderu/wykres");
    dialogs.files.push_back(chosen);
    page.Btn_SaveBmpChartClick();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find(chosen + ".bmp"), std::string::npos);
    EXPECT_EQ(dialogs.boxes[0].flags, mb::OkWarning);
    EXPECT_FALSE(QFileInfo::exists(ToQ(chosen + ".bmp")));
}

TEST_F(ChartPageTest, PrintsOnlyAfterOk) {
    const QString pdf = dir.filePath("wykres.pdf");
    page.Printer().setOutputFormat(QPrinter::PdfFormat);
    page.Printer().setOutputFileName(pdf);

    dialogs.answers.push_back(mb::ResultCancel);
    page.Btn_PrintClick();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Wydrukowac wykres?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Drukowanie");
    EXPECT_EQ(dialogs.boxes[0].flags, mb::OkCancelQuestion);
    EXPECT_FALSE(QFileInfo::exists(pdf));

    dialogs.answers.push_back(mb::ResultOk);
    page.Btn_PrintClick();
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
}

TEST_F(ChartPageTest, APrintThatCannotStartIsShown) {
    page.Printer().setOutputFormat(QPrinter::PdfFormat);
    page.Printer().setOutputFileName(dir.filePath("brak/wykres.pdf"));
    page.Btn_PrintClick();  // answered OK
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].caption, "MERON");
}

TEST_F(ChartPageTest, TipsShowTheStringTableTextsExactly) {
    for (int language : {StringTable::kPolish, StringTable::kEnglish}) {
        strings.SetLanguage(language);
        dialogs.boxes.clear();
        Find<QPushButton>("Btn_ChartTips")->click();
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, strings.Lookup("IDS_157"));
        EXPECT_EQ(dialogs.boxes[0].caption, strings.Lookup("IDS_158"));
        EXPECT_EQ(dialogs.boxes[0].flags, mb::OkInformation);
    }
    strings.SetLanguage(StringTable::kPolish);
    EXPECT_NE(strings.Lookup("IDS_157").find("pomniejszyć.\\nPrawy"), std::string::npos);
    EXPECT_EQ(strings.Lookup("IDS_158"), "Porady dla wykresu");
}

}  // namespace
}  // namespace karvo
