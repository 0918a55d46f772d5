#include "readout/readout_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/qt_util.h"
#include "readout/big_display_window.h"
#include "readout/fit_label.h"
#include "readout/gauge_bar.h"
#include "readout/status_indicator_box.h"

namespace karvo {

namespace {

QFont Tahoma(int px, bool bold = false) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QGroupBox* Group(const QString& name, const QString& caption, QWidget* parent) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    g->setFont(Tahoma(13, true));
    return g;
}

QLabel* Text(const QString& text, int px, QWidget* parent, const QString& name = {}) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    l->setFont(Tahoma(px));
    return l;
}

FitLabel* Digits(const QString& name, int px, const QString& sample, QWidget* parent) {
    auto* l = new FitLabel(QStringLiteral("0"), Tahoma(px), sample, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

GaugeBar* Gauge(const QString& name, int maximum, std::uint32_t colour, bool text, int w, int h,
                QWidget* parent) {
    auto* g = new GaugeBar(maximum, colour, text, parent);
    g->setObjectName(name);
    g->setFixedSize(w, h);
    return g;
}

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFont(Tahoma(12));
    b->setMinimumHeight(30);
    return b;
}

}  // namespace

ReadoutPage::ReadoutPage(DeviceLink& link, SharedDisplayState& shared,
                         std::function<void(const std::string&)> setStatusLine,
                         BigDisplayWindow* bigDisplay, QWidget* parent)
    : QWidget(parent),
      link_(link),
      shared_(shared),
      setStatusLine_(std::move(setStatusLine)),
      bigDisplay_(bigDisplay),
      locale_(SystemNumberLocale()) {
    setObjectName(QStringLiteral("TabSheet_Reads"));
    setFont(Tahoma(11));
    BuildLayout();
    connect(taraButton_, &QPushButton::clicked, this, [this] { BtnTaraClick(); });
    connect(resetButton_, &QPushButton::clicked, this, [this] { Btn_ResetMinMaxClick(); });
    connect(bigWindowButton_, &QPushButton::clicked, this, [this] { Bit_BigWindowClick(); });
}

void ReadoutPage::BuildLayout() {
    // Present value, load and raw reading.
    QGroupBox* tens =
        Group(QStringLiteral("GroupBox_DispTens"), QStringLiteral("Wartość aktualna"), this);
    displayTensVal_ =
        Digits(QStringLiteral("DisplayTensVal"), 72, QStringLiteral("0000.00 kg"), tens);
    SetTextColour(displayTensVal_, readout::kValueBlack);
    labelTensLoad_ = Text(QStringLiteral("0%"), 12, tens, QStringLiteral("Label_TensLoad"));
    labelTensLoad_->setFont(Tahoma(12, true));
    labelTensRaw_ = Text(QStringLiteral("0"), 12, tens, QStringLiteral("Label_TensRaw"));
    labelTensRaw_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gauge100_ = Gauge(QStringLiteral("Progress_TensVal_100"), readout::kGauge100Max,
                      readout::kGauge100Colour, false, 190, 28, tens);
    gauge150_ = Gauge(QStringLiteral("Progress_TensVal_150"), readout::kGauge150Max,
                      readout::kGauge150Colour, false, 85, 28, tens);
    gauge200_ = Gauge(QStringLiteral("Progress_TensVal_200"), readout::kGauge200Max,
                      readout::kGauge200Colour, false, 85, 28, tens);

    auto* loadRow = new QHBoxLayout;
    loadRow->addWidget(Text(QStringLiteral("Obciążenie czujnika :"), 12, tens));
    loadRow->addWidget(labelTensLoad_);
    loadRow->addStretch(1);
    loadRow->addWidget(labelTensRaw_);

    auto* gauges = new QGridLayout;
    gauges->setHorizontalSpacing(0);
    gauges->setVerticalSpacing(2);
    const std::pair<GaugeBar*, const char*> parts[] = {
        {gauge100_, "znamionowe"}, {gauge150_, "użytkowe"}, {gauge200_, "graniczne"}};
    int column = 0;
    for (const auto& [gauge, caption] : parts) {
        gauges->addWidget(gauge, 0, column);
        QLabel* c = Text(QString::fromUtf8(caption), 11, tens);
        c->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        gauges->addWidget(c, 1, column);
        ++column;
    }
    auto* gaugeRow = new QHBoxLayout;
    gaugeRow->addStretch(1);
    gaugeRow->addLayout(gauges);
    gaugeRow->addStretch(1);

    auto* tensLayout = new QVBoxLayout(tens);
    tensLayout->setContentsMargins(10, 4, 10, 8);
    tensLayout->addWidget(displayTensVal_, 1);
    tensLayout->addLayout(loadRow);
    tensLayout->addSpacing(4);
    tensLayout->addLayout(gaugeRow);

    // Minimum and maximum.
    QGroupBox* minMax =
        Group(QStringLiteral("GroupBox3"), QStringLiteral("Wartości MIN/MAX"), this);
    displayTensMax_ =
        Digits(QStringLiteral("DisplayTensMax"), 35, QStringLiteral("0000.00"), minMax);
    displayTensMin_ =
        Digits(QStringLiteral("DisplayTensMin"), 35, QStringLiteral("0000.00"), minMax);
    auto* minMaxLayout = new QGridLayout(minMax);
    minMaxLayout->setContentsMargins(10, 4, 10, 6);
    minMaxLayout->setVerticalSpacing(0);
    minMaxLayout->addWidget(Text(QStringLiteral("MAX:"), 13, minMax), 0, 0);
    minMaxLayout->addWidget(displayTensMax_, 1, 0);
    minMaxLayout->setRowMinimumHeight(2, 10);
    minMaxLayout->addWidget(Text(QStringLiteral("MIN:"), 13, minMax), 3, 0);
    minMaxLayout->addWidget(displayTensMin_, 4, 0);
    minMaxLayout->setRowStretch(1, 1);
    minMaxLayout->setRowStretch(4, 1);
    FitLabel::FitTogether({displayTensMax_, displayTensMin_});

    // Page actions.
    bigWindowButton_ = Button(QStringLiteral("Bit_BigWindow"), QStringLiteral("Duże okno"), this);
    bigWindowButton_->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    taraButton_ = Button(QStringLiteral("BtnTara"), QStringLiteral("Tara"), this);
    resetButton_ = Button(QStringLiteral("Btn_ResetMinMax"), QStringLiteral("Reset Min/Max"), this);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addStretch(1);
    buttons->addWidget(bigWindowButton_);
    buttons->addWidget(taraButton_);
    buttons->addWidget(resetButton_);

    // Analog output.
    groupAnalog_ = Group(QStringLiteral("GroupBox_DispAnalog"),
                         QStringLiteral("Wyjście analogowe [0-10V]"), this);
    displayVoutVal_ =
        Digits(QStringLiteral("Display_VoutVal"), 24, QStringLiteral("00.00 mA"), groupAnalog_);
    gaugeAout_ = Gauge(QStringLiteral("Progress_AoutVal"), readout::kAnalogGaugeMax, 0, true, 276,
                       29, groupAnalog_);
    gaugeAout_->setFont(Tahoma(11, true));
    auto* analogLayout = new QVBoxLayout(groupAnalog_);
    analogLayout->setContentsMargins(10, 4, 10, 8);
    analogLayout->addWidget(displayVoutVal_);
    analogLayout->addWidget(gaugeAout_, 0, Qt::AlignHCenter);

    // Tare input and sensor.
    QGroupBox* status = Group(QStringLiteral("GroupBox11"), QStringLiteral("Status"), this);
    statusInTara_ =
        MakeStatusIndicatorBox(QStringLiteral("Status_InTARA"), QStringLiteral("OFF"), 60, status);
    statusTens_ =
        MakeStatusIndicatorBox(QStringLiteral("Status_Tens"), QStringLiteral("ERROR"), 60, status);
    auto* statusLayout = new QGridLayout(status);
    statusLayout->setContentsMargins(10, 4, 10, 8);
    statusLayout->setVerticalSpacing(8);
    statusLayout->addWidget(Text(QStringLiteral("We. TARA"), 12, status), 0, 0);
    statusLayout->addWidget(statusInTara_, 0, 1);
    statusLayout->addWidget(Text(QStringLiteral("Czujnik"), 12, status), 1, 0);
    statusLayout->addWidget(statusTens_, 1, 1);

    auto* bottomLeft = new QHBoxLayout;
    bottomLeft->setSpacing(8);
    bottomLeft->addWidget(groupAnalog_, 1);
    bottomLeft->addWidget(status);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(tens, 0, 0);
    grid->addWidget(minMax, 0, 1);
    grid->addLayout(bottomLeft, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
}

void ReadoutPage::DisplayDataTimer() { Apply(refresh_.Tick(link_.State(), shared_, locale_)); }

void ReadoutPage::SetAnalogGroupCaption(const QString& caption) { groupAnalog_->setTitle(caption); }

void ReadoutPage::BtnTaraClick() { link_.BtnTaraClick(); }

void ReadoutPage::Btn_ResetMinMaxClick() { link_.Btn_ResetMinMaxClick(); }

void ReadoutPage::Bit_BigWindowClick() {
    if (bigDisplay_ != nullptr) bigDisplay_->ShowAndRaise();
}

void ReadoutPage::Apply(const ReadoutFrame& f) {
    if (f.statusLine && setStatusLine_) setStatusLine_(*f.statusLine);

    if (f.tareInput) ShowIndicator(statusInTara_, *f.tareInput);
    if (f.sensor) ShowIndicator(statusTens_, *f.sensor);
    if (f.converter) ShowIndicator(converterBox_, *f.converter);

    if (f.raw) labelTensRaw_->setText(ToQ(*f.raw));
    if (f.valueColour) SetTextColour(displayTensVal_, *f.valueColour);
    if (f.value) displayTensVal_->setText(ToQ(*f.value));
    if (f.minimum) displayTensMin_->setText(ToQ(*f.minimum));
    if (f.maximum) displayTensMax_->setText(ToQ(*f.maximum));
    if (f.load) labelTensLoad_->setText(ToQ(*f.load));
    if (f.gauge100) gauge100_->setValue(*f.gauge100);
    if (f.gauge150) gauge150_->setValue(*f.gauge150);
    if (f.gauge200) gauge200_->setValue(*f.gauge200);
    if (f.analogText) displayVoutVal_->setText(ToQ(*f.analogText));
    if (f.analogGauge) gaugeAout_->setValue(*f.analogGauge);

    if (bigDisplay_ != nullptr) {
        if (f.bigValue) bigDisplay_->SetValueText(ToQ(*f.bigValue));
        if (f.bigMinimum) bigDisplay_->SetMinimumText(ToQ(*f.bigMinimum));
        if (f.bigMaximum) bigDisplay_->SetMaximumText(ToQ(*f.bigMaximum));
    }
}

}  // namespace karvo
