#include "chart/chart_page.h"

#include <QChart>
#include <QComboBox>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPointF>
#include <QPrintDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <chrono>

#include "app/dialogs.h"
#include "app/qt_util.h"
#include "app/string_table.h"
#include "chart/chart_format.h"
#include "chart/chart_lists.h"
#include "chart/chart_view.h"
#include "chart/display_points.h"
#include "chart/picture_name.h"
#include "protocol/device_link.h"

namespace karvo {

namespace {

constexpr int kMessageBoxError = 16;  // OK with the error icon

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QPushButton* MakeButton(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

ChartPage::ChartPage(DeviceLink& link, const StringTable& strings, Dialogs& dialogs,
                     QWidget* parent)
    : QWidget(parent),
      link_(link),
      strings_(strings),
      dialogs_(dialogs),
      sampler_(strings),
      printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("TabSheet_Chart"));

    // Chart1: one black line "Suma" on white, no legend or titles, bottom and left axes.
    chart_ = new QChart();
    chart_->legend()->hide();
    chart_->setBackgroundBrush(Qt::white);
    chart_->setBackgroundRoundness(0);
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setMargins(QMargins(6, 10, 10, 6));

    series_ = new QLineSeries(chart_);
    series_->setObjectName(QStringLiteral("Series5"));
    series_->setName(QStringLiteral("Suma"));
    QPen pen(Qt::black);
    pen.setWidth(2);
    series_->setPen(pen);
    series_->setPointsVisible(false);
    series_->setPointLabelsVisible(false);
    chart_->addSeries(series_);

    // Time labels at round steps, up to ten significant digits, in the system's number format.
    chart_->setLocalizeNumbers(true);
    chart_->setLocale(QLocale::system());
    bottomAxis_ = new QValueAxis(chart_);
    bottomAxis_->setObjectName(QStringLiteral("BottomAxis"));
    bottomAxis_->setTitleText(QStringLiteral("Czas [s]"));
    bottomAxis_->setTickType(QValueAxis::TicksDynamic);
    bottomAxis_->setTickAnchor(0.0);
    bottomAxis_->setLabelFormat(QStringLiteral("%.10g"));
    leftAxis_ = new QValueAxis(chart_);
    leftAxis_->setObjectName(QStringLiteral("LeftAxis"));
    leftAxis_->setTitleText(QStringLiteral("Wartosc pomiaru"));
    chart_->addAxis(bottomAxis_, Qt::AlignBottom);
    chart_->addAxis(leftAxis_, Qt::AlignLeft);
    series_->attachAxis(bottomAxis_);
    series_->attachAxis(leftAxis_);

    view_ = new ChartView(chart_, this);
    view_->setObjectName(QStringLiteral("Chart1"));
    view_->setRenderHint(QPainter::Antialiasing, false);
    view_->setFixedSize(kChartWidth, kChartHeight);
    view_->setFrameShape(QFrame::NoFrame);
    view_->setBackgroundBrush(Qt::white);
    chart_->layout()->setContentsMargins(0, 0, 0, 0);

    // "Pomoc" on the chart's upper right corner; not part of the printout or the picture.
    tips_ = MakeButton("Btn_ChartTips", "Pomoc", this);
    tips_->setFixedSize(56, 22);

    // Sampler group: Start/Pauza, Reset, status, time window, sampling.
    auto* samplerGroup = new QGroupBox(this);
    samplerGroup->setObjectName(QStringLiteral("GroupBox_Chart"));
    auto* start = MakeButton("Btn_ChartStart", "Start/Pauza", samplerGroup);
    auto* reset = MakeButton("Btn_ChartReset", "Reset", samplerGroup);
    status_ = new QLineEdit(QString::fromLatin1(ChartSampler::kInitialStatus), samplerGroup);
    status_->setObjectName(QStringLiteral("ChartStatus"));
    status_->setReadOnly(true);
    status_->setAlignment(Qt::AlignCenter);
    QFont statusFont(QStringLiteral("Calibri"));
    statusFont.setPixelSize(12);
    status_->setFont(statusFont);
    status_->setFixedWidth(96);

    timeWindow_ = new QComboBox(samplerGroup);
    timeWindow_->setObjectName(QStringLiteral("Cb_ChartTimeWindow"));
    for (const auto& e : kTimeWindowEntries) timeWindow_->addItem(QString::fromUtf8(e.text));
    timeWindow_->setCurrentIndex(1);  // "10 sek."
    timeWindow_->setToolTip(QString::fromUtf8(kTimeWindowHint));
    sampling_ = new QComboBox(samplerGroup);
    sampling_->setObjectName(QStringLiteral("ComboB_ChartSampling"));
    for (const auto& e : kSamplingEntries) sampling_->addItem(QString::fromUtf8(e.text));
    sampling_->setCurrentIndex(1);  // "10/sek."
    sampling_->setToolTip(QString::fromUtf8(kSamplingHint));

    auto* samplerRow = new QHBoxLayout(samplerGroup);
    samplerRow->setContentsMargins(6, 4, 6, 4);
    samplerRow->addWidget(start);
    samplerRow->addWidget(reset);
    samplerRow->addWidget(status_);
    samplerRow->addSpacing(6);
    samplerRow->addWidget(new QLabel(QStringLiteral("Czas okna:"), samplerGroup));
    samplerRow->addWidget(timeWindow_);
    samplerRow->addWidget(new QLabel(QString::fromUtf8("Próbkowanie:"), samplerGroup));
    samplerRow->addWidget(sampling_);

    // Output group: print, printer setup, picture.
    auto* outputGroup = new QGroupBox(this);
    outputGroup->setObjectName(QStringLiteral("GroupBox_ChartOutput"));
    auto* print = MakeButton("Btn_Print", "Drukuj", outputGroup);
    auto* printSetting = MakeButton("Btn_CharPrintSetting", "Opcje wydruku", outputGroup);
    auto* saveBmp = MakeButton("Btn_SaveBmpChart", "Zapisz jako obrazek", outputGroup);
    auto* outputRow = new QHBoxLayout(outputGroup);
    outputRow->setContentsMargins(6, 4, 6, 4);
    outputRow->addWidget(print);
    outputRow->addWidget(printSetting);
    outputRow->addWidget(saveBmp);
    outputRow->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(4);
    page->addWidget(view_, 0, Qt::AlignLeft | Qt::AlignTop);
    page->addWidget(samplerGroup);
    page->addWidget(outputGroup);
    page->addStretch(1);

    chartTimer_ = new QTimer(this);
    chartTimer_->setObjectName(QStringLiteral("ChartTimer"));
    chartTimer_->setTimerType(Qt::PreciseTimer);
    chartTimer_->setSingleShot(true);
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshMs);

    connect(start, &QPushButton::clicked, this, [this] { Btn_ChartStartClick(); });
    connect(reset, &QPushButton::clicked, this, [this] { Btn_ChartResetClick(); });
    connect(print, &QPushButton::clicked, this, [this] { Btn_PrintClick(); });
    connect(printSetting, &QPushButton::clicked, this, [this] { Btn_CharPrintSettingClick(); });
    connect(saveBmp, &QPushButton::clicked, this, [this] { Btn_SaveBmpChartClick(); });
    connect(tips_, &QPushButton::clicked, this, [this] { Btn_ChartTipsClick(); });
    connect(sampling_, &QComboBox::currentIndexChanged, this,
            [this](int) { ComboB_ChartSamplingChange(); });
    connect(timeWindow_, &QComboBox::currentIndexChanged, this,
            [this](int) { Cb_ChartTimeWindowChange(); });
    connect(chartTimer_, &QTimer::timeout, this, [this] { OnChartTimer(); });
    connect(refreshTimer_, &QTimer::timeout, this, [this] {
        if (isVisible()) RefreshChart();  // a hidden page catches up when it is shown
    });
    // A zoom or a pan: the drawn points and the label step follow on the next refresh.
    connect(bottomAxis_, &QValueAxis::rangeChanged, this, [this](qreal, qreal) {
        if (!settingAxes_) ScheduleRefresh();
    });
    connect(view_, &ChartView::zoomUndone, this, [this] {
        ApplySamplerAxes(true);
        ScheduleRefresh();
    });

    ApplySamplerAxes(true);
    UpdateTimeLabels();
    PlaceTipsButton();
    // ChartTimer runs from creation on; the sampler stays idle until Start.
    chartTimer_->start(schedule_.Start(NowNs(), sampler_.Interval()));
}

ChartPage::~ChartPage() = default;

void ChartPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    PlaceTipsButton();
    RefreshChart();
}

void ChartPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceTipsButton();
}

void ChartPage::PlaceTipsButton() {
    const QRect chart = view_->geometry();
    tips_->move(chart.right() - tips_->width() - 6, chart.top() + 6);
    tips_->raise();
}

int ChartPage::SamplingIndex() const { return sampling_->currentIndex(); }

void ChartPage::SetSamplingIndex(int index) {
    const QSignalBlocker block(sampling_);
    sampling_->setCurrentIndex(index >= 0 && index < sampling_->count() ? index : -1);
}

int ChartPage::TimeWindowIndex() const { return timeWindow_->currentIndex(); }

void ChartPage::SetTimeWindowIndex(int index) {
    const QSignalBlocker block(timeWindow_);
    timeWindow_->setCurrentIndex(index >= 0 && index < timeWindow_->count() ? index : -1);
}

bool ChartPage::SeriesActive() const { return sampler_.SeriesActive(); }

void ChartPage::SetSeriesActive(bool active) {
    sampler_.SetSeriesActive(active);
    series_->setVisible(active);
}

void ChartPage::ComboB_ChartSamplingChange() {
    sampler_.ComboB_ChartSamplingChange(sampling_->currentIndex());
}

void ChartPage::Cb_ChartTimeWindowChange() {
    sampler_.Cb_ChartTimeWindowChange(timeWindow_->currentIndex());
    ScheduleRefresh();
}

void ChartPage::Btn_ChartStartClick() {
    sampler_.Btn_ChartStartClick();
    ApplyStatus();
}

void ChartPage::Btn_ChartResetClick() {
    sampler_.Btn_ChartResetClick();
    ScheduleRefresh();
}

void ChartPage::ChartTimerTimer() {
    if (!sampler_.State().ChartRunning) return;
    const LinkState& state = link_.State();
    sampler_.ChartTimerTimer(state.Connected, state.Measurement.Value);
    if (!sampler_.State().ChartRunning) ApplyStatus();
    ScheduleRefresh();
}

void ChartPage::OnChartTimer() {
    ChartTimerTimer();
    chartTimer_->start(schedule_.Fired(NowNs(), sampler_.Interval()));
}

void ChartPage::ApplyStatus() {
    status_->setText(ToQ(sampler_.StatusText()));
    SetBackground(status_, sampler_.StatusColour());
}

void ChartPage::ScheduleRefresh() {
    if (isVisible() && !refreshTimer_->isActive()) refreshTimer_->start();
}

void ChartPage::ApplySamplerAxes(bool force) {
    settingAxes_ = true;
    if (force || sampler_.BottomAxisSets() != drawnBottomSets_) {
        const AxisRange r = sampler_.BottomAxis();
        bottomAxis_->setRange(r.min, r.max);
        drawnBottomSets_ = sampler_.BottomAxisSets();
    }
    if (force || sampler_.LeftAxisSets() != drawnLeftSets_) {
        const AxisRange r = sampler_.LeftAxis();
        leftAxis_->setRange(r.min, r.max);
        drawnLeftSets_ = sampler_.LeftAxisSets();
    }
    settingAxes_ = false;
}

void ChartPage::UpdateTimeLabels() {
    const int width =
        chart_->plotArea().width() > 0 ? static_cast<int>(chart_->plotArea().width()) : kChartWidth;
    const double step =
        TimeAxisStep(bottomAxis_->min(), bottomAxis_->max(), std::max(2, width / 80));
    if (step > 0.0 && step != bottomAxis_->tickInterval()) bottomAxis_->setTickInterval(step);
}

void ChartPage::RefreshChart() {
    refreshTimer_->stop();
    ApplySamplerAxes(false);
    UpdateTimeLabels();
    const double x0 = bottomAxis_->min();
    const double x1 = bottomAxis_->max();
    const int columns =
        chart_->plotArea().width() > 0 ? static_cast<int>(chart_->plotArea().width()) : kChartWidth;
    const ChartPoints& points = sampler_.Points();
    if (sampler_.Resets() == drawnResets_ && points.Size() == drawnCount_ && x0 == drawnMin_ &&
        x1 == drawnMax_ && columns == drawnColumns_) {
        return;
    }
    const std::vector<ChartPoint>& shown =
        display_.Update(points, sampler_.Resets(), x0, x1, columns);
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(shown.size()));
    for (const ChartPoint& p : shown) list.append(QPointF(p.x, p.y));
    series_->replace(list);
    drawnResets_ = sampler_.Resets();
    drawnCount_ = points.Size();
    drawnMin_ = x0;
    drawnMax_ = x1;
    drawnColumns_ = columns;
}

void ChartPage::Btn_PrintClick() {
    if (dialogs_.MessageBox(strings_("IDS_97"), strings_("IDS_98"), mb::OkCancelQuestion) !=
        mb::ResultOk) {
        return;
    }
    PrintChart();
}

void ChartPage::LayOutChart() {
    // Brings the chart up to date for printing or saving. A page that has never been shown
    // (its tab is hidden) has not laid out its chart yet.
    if (chart_->size() != QSizeF(view_->size())) {
        chart_->resize(QSizeF(view_->size()));
        view_->setSceneRect(chart_->geometry());
    }
    if (chart_->layout() != nullptr) chart_->layout()->activate();
    RefreshChart();
    // The new points and label step change the axes' layout too.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (chart_->layout() != nullptr) chart_->layout()->activate();
}

void ChartPage::PrintChart() {
    LayOutChart();
    printer_.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer_)) {
        dialogs_.MessageBox("Printer selected is not valid", "MERON", kMessageBoxError);
        return;
    }
    const QRectF paper = printer_.paperRect(QPrinter::DevicePixel);
    const PrintRect area = ChartPrintArea(paper.width(), paper.height());
    chart_->scene()->render(&painter, QRectF(area.left, area.top, area.width, area.height),
                            chart_->sceneBoundingRect(), Qt::IgnoreAspectRatio);
    painter.end();
}

void ChartPage::Btn_CharPrintSettingClick() {
    QPrintDialog dialog(&printer_, this);
    dialog.exec();
}

void ChartPage::Btn_SaveBmpChartClick() {
    FileDialogRequest request;
    request.filter = "Bitmap|*bmp";
    const std::optional<std::string> chosen = dialogs_.SaveFileName(request);
    if (!chosen) return;
    const std::string path = PictureFileName(*chosen);
    if (!SavePicture(path)) {
        dialogs_.MessageBox("Nie można zapisać wykresu do pliku " + path, " Uwaga", mb::OkWarning);
    }
}

bool ChartPage::SavePicture(const std::string& path) {
    LayOutChart();
    const QImage image = view_->grab().toImage();
    if (image.isNull()) return false;
    // Written beside the target and renamed over it, so a failure leaves no broken file.
    QSaveFile file(ToQ(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!image.save(&file, "BMP")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void ChartPage::Btn_ChartTipsClick() {
    dialogs_.MessageBox(strings_("IDS_157"), strings_("IDS_158"), mb::OkInformation);
}

}  // namespace karvo
