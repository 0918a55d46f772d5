#include "settings/settings_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "app/qt_util.h"
#include "readout/status_indicator_box.h"

namespace karvo {

namespace {

constexpr int kRowHeight = 21;

template <typename W>
W* Named(W* w, const char* name) {
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent, int x, int y, int w) {
    auto* l = Named(new QLabel(QString::fromUtf8(text), parent), name);
    l->setGeometry(x, y, w, kRowHeight);
    return l;
}

template <std::size_t N>
QComboBox* MakeList(const char* name, const std::array<const char*, N>& items, int selected,
                    QWidget* parent, int x, int y, int w) {
    auto* c = Named(new QComboBox(parent), name);
    for (const char* item : items) c->addItem(QString::fromUtf8(item));
    c->setCurrentIndex(selected);
    c->setGeometry(x, y, w, kRowHeight);
    return c;
}

QLineEdit* MakeField(const char* name, QWidget* parent, int x, int y, int w) {
    auto* e = Named(new QLineEdit(QStringLiteral("0"), parent), name);
    e->setGeometry(x, y, w, kRowHeight);
    return e;
}

// A group box whose own caption is bold while its contents keep the page's font.
QGroupBox* MakeGroup(const char* name, const char* caption, QWidget* parent, const QRect& r,
                     bool bold) {
    auto* g = Named(new QGroupBox(QString::fromUtf8(caption), parent), name);
    g->setGeometry(r);
    if (bold) {
        QFont f = g->font();
        f.setBold(true);
        g->setFont(f);
    }
    return g;
}

// Children created under a bold group box inherit its weight; they are set back to normal.
void UnboldChildren(QGroupBox* group) {
    for (QWidget* w : group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->property("karvoBold").toBool()) continue;
        QFont f = w->font();
        f.setBold(false);
        w->setFont(f);
        if (auto* inner = qobject_cast<QGroupBox*>(w)) UnboldChildren(inner);
    }
}

void SetField(QLineEdit* field, const EntryField& value) {
    const QString text = ToQ(value.text);
    if (field->text() != text) field->setText(text);
    if (BackgroundOf(field) != value.colour) SetBackground(field, value.colour);
}

EntryField GetField(const QLineEdit* field) {
    return EntryField{ToStd(field->text()), BackgroundOf(field)};
}

}  // namespace

SettingsPage::SettingsPage(DeviceLink& link, SharedDisplayState& shared, Dialogs& dialogs,
                           const StringTable& strings,
                           std::function<void(const std::string&)> setStatusLine, QWidget* parent)
    : QWidget(parent),
      form_(link, shared, dialogs, strings),
      setStatusLine_(std::move(setStatusLine)) {
    setObjectName(QStringLiteral("TabSheet_Settings"));
    form_.Labels().SetAnalogGroupCaptionSink([this](const std::string& caption) {
        if (analogGroupCaption_) analogGroupCaption_(ToQ(caption));
    });
    Build();
    Push();
}

void SettingsPage::SetAnalogGroupCaptionHandler(std::function<void(const QString&)> handler) {
    analogGroupCaption_ = std::move(handler);
}

void SettingsPage::Build() {
    namespace items = settings_items;

    // Sensor input, at the left over the full height.
    QGroupBox* sensor =
        MakeGroup("GroupBox_Sensor", "Wejście czujnika siły ", this, QRect(4, 4, 246, 326), true);
    MakeLabel("Label_TensUnits", "Jednostki:", sensor, 8, 22, 124);
    cbUnits_ = MakeList("Cb_TensUnits", items::kUnits, 0, sensor, 134, 22, 104);
    MakeLabel("Label_TensFilter", "Poziom filtracji:", sensor, 8, 48, 124);
    cbFilter_ = MakeList("Cb_TensFilter", items::kFilter, 1, sensor, 134, 48, 104);
    MakeLabel("Label_TensDataRate", "Częstotliwość pomiaru:", sensor, 8, 74, 124);
    cbRate_ = MakeList("Cb_TensDataRate", items::kDataRate, 0, sensor, 134, 74, 104);
    MakeLabel("Label_TOffset", "Offset:", sensor, 8, 100, 124);
    editOffset_ = MakeField("Edit_TOffset", sensor, 134, 100, 104);
    cbSign_ = Named(new QCheckBox(QStringLiteral("Odwróć znak"), sensor), "CB_Tens1Sign");
    cbSign_->setGeometry(8, 126, 220, kRowHeight);

    QGroupBox* params = MakeGroup("GroupBox_SensorParams", "Parametry czujnika", sensor,
                                  QRect(6, 154, 234, 164), false);
    MakeLabel("Label_TSens", "Stała czujnika", params, 8, 22, 92);
    QLabel* sensUnit = MakeLabel("Label_TSensUnit", "[mV/V]:", params, 100, 22, 46);
    editSens_ = MakeField("Edit_TSens", params, 146, 22, 80);
    MakeLabel("Label_TRange", "Zakres czujnika", params, 8, 50, 92);
    QLabel* rangeUnit = MakeLabel("Label_TRangeUnit", "[N]:", params, 100, 50, 46);
    editRange_ = MakeField("Edit_TRange", params, 146, 50, 80);
    for (QLabel* bold : {sensUnit, rangeUnit}) {
        QFont f = bold->font();
        f.setBold(true);
        bold->setFont(f);
        bold->setProperty("karvoBold", true);
    }
    btnHelp_ = Named(new QPushButton(params), "Btn_SensorConfigHelp");
    btnHelp_->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    btnHelp_->setGeometry(8, 86, 30, 30);
    btnSensorCalib_ =
        Named(new QPushButton(QStringLiteral("Kalibracja"), params), "Btn_SensorCalib");
    btnSensorCalib_->setGeometry(146, 86, 80, 30);
    UnboldChildren(sensor);

    // Analog output, in the middle.
    QGroupBox* analog = MakeGroup("GroupBox_AnalogOut", "Wyjście 0-10V / 4- 20mA", this,
                                  QRect(254, 4, 202, 226), true);
    QGroupBox* mode =
        MakeGroup("GroupBox_AnalogMode", "Tryb", analog, QRect(8, 18, 186, 44), false);
    rb010V_ = Named(new QRadioButton(QStringLiteral("0-10V"), mode), "RB_amode010V");
    rb010V_->setGeometry(8, 18, 84, kRowHeight);
    rb420mA_ = Named(new QRadioButton(QStringLiteral("4 - 20mA"), mode), "RB_amode420mA");
    rb420mA_->setGeometry(100, 18, 88, kRowHeight);
    rb010V_->setChecked(true);
    rb010V_->setEnabled(false);
    rb420mA_->setEnabled(false);
    labelVoutMin_ = MakeLabel("Label_VoutMin", labels::kVoutMinDesign, analog, 8, 66, 186);
    editAnalogMin_ = MakeField("Edit_AnalogMin", analog, 8, 86, 120);
    label31_ = MakeLabel("Label31", labels::kUnitDesign, analog, 134, 86, 60);
    labelVoutMax_ = MakeLabel("Label_VoutMax", labels::kVoutMaxDesign, analog, 8, 112, 186);
    editAnalogMax_ = MakeField("Edit_AnalogMax", analog, 8, 132, 120);
    label32_ = MakeLabel("Label32", labels::kUnitDesign, analog, 134, 132, 60);
    cbAnalogAbs_ =
        Named(new QCheckBox(QStringLiteral("Wartość absolutna"), analog), "Cb_AnalogAbsolute");
    cbAnalogAbs_->setGeometry(8, 160, 186, kRowHeight);
    btnAnalogCalib_ =
        Named(new QPushButton(QStringLiteral("Kalibracja"), analog), "Btn_AnalogOutCalib");
    btnAnalogCalib_->setGeometry(8, 188, 90, 28);
    btnAnalogCalib_->setVisible(false);
    UnboldChildren(analog);

    // RS485 port, at the right.
    QGroupBox* modbus =
        MakeGroup("GroupBox_Modbus", "RS485 Modbus-RTU slave", this, QRect(460, 4, 201, 226), true);
    MakeLabel("Label_ModbusAddress", "Adres urządzenia", modbus, 8, 20, 187);
    cbAddress_ = Named(new QComboBox(modbus), "Cb_ModbusAddress");
    for (int a = 1; a <= 5; ++a) cbAddress_->addItem(QString::number(a));
    cbAddress_->setCurrentIndex(0);
    cbAddress_->setGeometry(8, 40, 110, kRowHeight);
    MakeLabel("Label_ModbusBaud", "Prędkość transmisji", modbus, 8, 66, 187);
    cbBaud_ = MakeList("Cb_ModbusBaud", items::kBaud, 2, modbus, 8, 86, 110);
    MakeLabel("Label_ModbusParity", "Parzystość", modbus, 8, 112, 187);
    cbParity_ = MakeList("Cb_ModbusParity", items::kParity, 0, modbus, 8, 132, 110);
    for (QLabel* fixed : {MakeLabel("Label_DataBits", "Bity danych:", modbus, 8, 164, 90),
                          MakeLabel("Label_DataBitsValue", "8", modbus, 100, 164, 40),
                          MakeLabel("Label_StopBits", "Bity stopu:", modbus, 8, 188, 90),
                          MakeLabel("Label_StopBitsValue", "1", modbus, 100, 188, 40)}) {
        fixed->setEnabled(false);
    }
    UnboldChildren(modbus);

    // Below the middle group: decimals and the converter status.
    MakeLabel("Label_TensDecp", "Miejsc dziesiętnych:", this, 260, 240, 126);
    cbDecp_ = MakeList("Cb_TensDecp", items::kDecimals, 0, this, 390, 240, 60);
    MakeLabel("Label_ADStatus", "Status przetwornika:", this, 260, 270, 126);
    adStatus_ = MakeStatusIndicatorBox(QStringLiteral("ADStatus"), QStringLiteral("OFF"), 80, this);
    adStatus_->move(390, 269);

    // The button row, left to right.
    btnRead_ = Named(new QPushButton(QStringLiteral("Odczytaj"), this), "Btn_ReadSettings");
    btnRead_->setGeometry(4, 336, 150, 28);
    btnWrite_ = Named(new QPushButton(QStringLiteral("Zapisz"), this), "Btn_SetTensSettings");
    btnWrite_->setGeometry(258, 336, 150, 28);
    btnFactory_ = Named(new QPushButton(QStringLiteral("Przywróć fabryczne"), this),
                        "Button_TensSettingFactory");
    btnFactory_->setGeometry(511, 336, 150, 28);

    connect(btnWrite_, &QPushButton::clicked, this, &SettingsPage::Btn_SetTensSettingsClick);
    connect(btnRead_, &QPushButton::clicked, this, &SettingsPage::Btn_ReadSettingsClick);
    connect(btnFactory_, &QPushButton::clicked, this,
            &SettingsPage::Button_TensSettingFactoryClick);
    connect(btnHelp_, &QPushButton::clicked, this, &SettingsPage::Btn_SensorConfigHelpClick);
    connect(btnSensorCalib_, &QPushButton::clicked, this, &SettingsPage::Btn_SensorCalibClick);
    connect(btnAnalogCalib_, &QPushButton::clicked, this, &SettingsPage::Btn_AnalogOutCalibClick);
    // The shown decimals follow the list at once, whoever changes it.
    connect(cbDecp_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { form_.SetDecimals(index); });
}

void SettingsPage::Pull() {
    SettingsPageValues& v = form_.Page();
    v.TensUnits = cbUnits_->currentIndex();
    v.TensFilter = cbFilter_->currentIndex();
    v.TensDataRate = cbRate_->currentIndex();
    v.TOffset = GetField(editOffset_);
    v.Tens1Sign = cbSign_->isChecked();
    v.TSens = GetField(editSens_);
    v.TRange = GetField(editRange_);
    v.Amode010V = rb010V_->isChecked();
    v.Amode420mA = rb420mA_->isChecked();
    v.AnalogMin = GetField(editAnalogMin_);
    v.AnalogMax = GetField(editAnalogMax_);
    v.AnalogAbsolute = cbAnalogAbs_->isChecked();
    v.ModbusAddress = cbAddress_->currentIndex();
    v.ModbusBaud = cbBaud_->currentIndex();
    v.ModbusParity = cbParity_->currentIndex();
    v.TensDecp = cbDecp_->currentIndex();
}

void SettingsPage::Push() {
    const SettingsPageValues& v = form_.Page();
    cbUnits_->setCurrentIndex(v.TensUnits);
    cbFilter_->setCurrentIndex(v.TensFilter);
    cbRate_->setCurrentIndex(v.TensDataRate);
    SetField(editOffset_, v.TOffset);
    cbSign_->setChecked(v.Tens1Sign);
    SetField(editSens_, v.TSens);
    SetField(editRange_, v.TRange);
    if (rb010V_->isChecked() != v.Amode010V || rb420mA_->isChecked() != v.Amode420mA) {
        rb010V_->setAutoExclusive(false);
        rb420mA_->setAutoExclusive(false);
        rb010V_->setChecked(v.Amode010V);
        rb420mA_->setChecked(v.Amode420mA);
        rb010V_->setAutoExclusive(true);
        rb420mA_->setAutoExclusive(true);
    }
    SetField(editAnalogMin_, v.AnalogMin);
    SetField(editAnalogMax_, v.AnalogMax);
    cbAnalogAbs_->setChecked(v.AnalogAbsolute);
    cbAddress_->setCurrentIndex(v.ModbusAddress);
    cbBaud_->setCurrentIndex(v.ModbusBaud);
    cbParity_->setCurrentIndex(v.ModbusParity);
    cbDecp_->setCurrentIndex(v.TensDecp);

    const UnitLabels& l = form_.Labels();
    label31_->setText(ToQ(l.Label31()));
    label32_->setText(ToQ(l.Label32()));
    labelVoutMin_->setText(ToQ(l.VoutMin()));
    labelVoutMax_->setText(ToQ(l.VoutMax()));
}

// The controls are read before the outermost operation and written after every one, so an
// operation nested inside a modal box sees the values of the one around it.
template <typename Op>
void SettingsPage::Run(Op op) {
    if (depth_++ == 0) Pull();
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{depth_};
    op();
    Push();
}

void SettingsPage::FillModbusAddressList() {
    Run([this] {
        cbAddress_->clear();
        for (const std::string& item : settings_items::ModbusAddressItems()) {
            cbAddress_->addItem(ToQ(item));
        }
        form_.Page().ModbusAddress = 0;
    });
}

void SettingsPage::ShowSettings(const TDeviceSettingsRecord& settings) {
    Run([&] { form_.ShowSettings(settings); });
}

void SettingsPage::UpdateUnitLabels() {
    Run([this] { form_.UpdateUnitLabels(); });
}

void SettingsPage::Btn_SetTensSettingsClick() {
    Run([this] { form_.Btn_SetTensSettingsClick(); });
}

void SettingsPage::Btn_ReadSettingsClick() { form_.Btn_ReadSettingsClick(); }

void SettingsPage::Button_TensSettingFactoryClick() { form_.Button_TensSettingFactoryClick(); }

void SettingsPage::Btn_SensorConfigHelpClick() { form_.Btn_SensorConfigHelpClick(); }

void SettingsPage::Btn_SensorCalibClick() {
    if (form_.Btn_SensorCalibClick() && openSensorCalib_) openSensorCalib_();
}

void SettingsPage::Btn_AnalogOutCalibClick() {
    if (openAnalogCalib_) openAnalogCalib_();
}

void SettingsPage::SaveConfigFileClick() {
    Run([this] { form_.SaveConfigFileClick(); });
}

void SettingsPage::OpenConfigFileClick() {
    Run([this] { form_.OpenConfigFileClick(); });
}

void SettingsPage::SetSensorConstantFromWizard(const QString& text) {
    Run([&] { form_.SetSensorConstantFromWizard(ToStd(text)); });
}

}  // namespace karvo
