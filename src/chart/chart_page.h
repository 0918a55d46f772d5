// The trend chart page (TabSheet_Chart): the chart of the measured value over time, the
// sampler's controls and the chart's print and picture buttons. The sampler decides; this
// page draws what it holds and forwards clicks and timer ticks to it.
#pragma once

#include <QPrinter>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart_points.h"
#include "chart/chart_sampler.h"
#include "chart/display_points.h"
#include "chart/tick_schedule.h"

class QChart;
class QComboBox;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QTimer;
class QValueAxis;

namespace karvo {

class ChartView;
class DeviceLink;
class Dialogs;
class StringTable;

class ChartPage : public QWidget {
    Q_OBJECT
  public:
    // The chart's size on screen, which is also the size of the saved picture.
    static constexpr int kChartWidth = 650;
    static constexpr int kChartHeight = 276;
    // How often the drawn chart follows the sampler, in ms.
    static constexpr int kRefreshMs = 40;

    ChartPage(DeviceLink& link, const StringTable& strings, Dialogs& dialogs,
              QWidget* parent = nullptr);
    ~ChartPage() override;

    // What the options file keeps. The setters run no change handler; an index outside
    // its list leaves the list with no selection (-1).
    int SamplingIndex() const;  // Sampling
    void SetSamplingIndex(int index);
    int TimeWindowIndex() const;  // TimeSize
    void SetTimeWindowIndex(int index);
    bool SeriesActive() const;  // ChartSeries5
    void SetSeriesActive(bool active);

    // The lists' change handlers; the main window runs both at start, sampling first.
    void ComboB_ChartSamplingChange();
    void Cb_ChartTimeWindowChange();

    void Btn_ChartStartClick();
    void Btn_ChartResetClick();
    // One sample step, as on each tick of ChartTimer.
    void ChartTimerTimer();

    void Btn_PrintClick();
    void Btn_CharPrintSettingClick();
    void Btn_SaveBmpChartClick();
    void Btn_ChartTipsClick();

    const ChartSampler& Sampler() const { return sampler_; }
    // The printer the chart is printed on; printer setup changes it for later prints.
    QPrinter& Printer() { return printer_; }
    QChart* Chart() const { return chart_; }
    // Brings the drawn chart up to date now (it otherwise follows within kRefreshMs).
    void RefreshChart();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceTipsButton();
    void OnChartTimer();
    void ApplyStatus();
    void ScheduleRefresh();
    void ApplySamplerAxes(bool force);
    void UpdateTimeLabels();
    void LayOutChart();
    void PrintChart();
    bool SavePicture(const std::string& path);

    DeviceLink& link_;
    const StringTable& strings_;
    Dialogs& dialogs_;
    ChartSampler sampler_;
    TickSchedule schedule_;
    QPrinter printer_;

    QChart* chart_ = nullptr;
    QLineSeries* series_ = nullptr;
    QValueAxis* bottomAxis_ = nullptr;
    QValueAxis* leftAxis_ = nullptr;
    ChartView* view_ = nullptr;
    QPushButton* tips_ = nullptr;
    QLineEdit* status_ = nullptr;
    QComboBox* sampling_ = nullptr;
    QComboBox* timeWindow_ = nullptr;
    QTimer* chartTimer_ = nullptr;
    QTimer* refreshTimer_ = nullptr;

    // What the drawn chart shows, so a refresh with nothing new does nothing.
    std::uint64_t drawnBottomSets_ = ~std::uint64_t{0};
    std::uint64_t drawnLeftSets_ = ~std::uint64_t{0};
    std::uint64_t drawnResets_ = ~std::uint64_t{0};
    std::size_t drawnCount_ = 0;
    double drawnMin_ = 0.0;
    double drawnMax_ = -1.0;
    int drawnColumns_ = 0;
    bool settingAxes_ = false;
    DisplayPoints display_;
};

}  // namespace karvo
