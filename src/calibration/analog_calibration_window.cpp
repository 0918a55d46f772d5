#include "calibration/analog_calibration_window.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt_util.h"
#include "settings/field_checks.h"

namespace karvo {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);  // Enter in a field presses nothing
    return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    if (name != nullptr) l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

AnalogCalibrationWindow::AnalogCalibrationWindow(DeviceLink& link, QWidget* parent)
    : QDialog(parent), calibration_(link), locale_(SystemNumberLocale()) {
    setObjectName(QStringLiteral("FormAnCalib"));
    setWindowTitle(QStringLiteral("Wyjście analogowe - kalibracja"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(481, 295);
    move(0, 0);  // top-left corner of the screen, not centred over the owner
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    auto* top = new QVBoxLayout(this);
    top->addWidget(MakeLabel(
        this, nullptr, QStringLiteral("1) Wymuś sygnał na wyjściu AOUT (Test odznaczone!!!)")));
    top->addWidget(MakeLabel(this, nullptr, QStringLiteral("2) Zmierz wartość na wyjściu AOUT")));
    top->addWidget(MakeLabel(this, nullptr,
                             QStringLiteral("3) Wprowadź odczytaną wartość do pola kalibracji z "
                                            "dokładnością 3 miejsc po przecinku")));

    auto* groups = new QHBoxLayout;
    top->addLayout(groups, 1);

    // Left: forcing the output.
    auto* force = new QGroupBox(QStringLiteral("Wymuś sygnał wyjściowy"), this);
    rbVoltage_ = new QRadioButton(QStringLiteral("9V"), force);
    rbVoltage_->setObjectName(QStringLiteral("Rb_0_10V"));
    rbVoltage_->setChecked(true);
    auto* rbCurrent = new QRadioButton(QStringLiteral("18mA"), force);
    rbCurrent->setObjectName(QStringLiteral("RadioButton2"));
    cbTest_ = new QCheckBox(QStringLiteral("Test"), force);
    cbTest_->setObjectName(QStringLiteral("Cb_Test"));
    auto* start = MakeButton(force, "Button1", QStringLiteral("Start"));
    auto* stop = MakeButton(force, "Button2", QStringLiteral("Stop"));
    auto* forceLayout = new QVBoxLayout(force);
    forceLayout->addWidget(rbVoltage_);
    forceLayout->addWidget(rbCurrent);
    forceLayout->addWidget(cbTest_);
    forceLayout->addStretch(1);
    forceLayout->addWidget(start);
    forceLayout->addWidget(stop);
    groups->addWidget(force);

    // Right: the measured values.
    auto* calib = new QGroupBox(QStringLiteral("Kalibruj wyjście"), this);
    auto* grid = new QGridLayout(calib);
    grid->addWidget(MakeLabel(calib, nullptr, QStringLiteral("Factor")), 0, 2);
    grid->addWidget(MakeLabel(calib, nullptr, QStringLiteral("Odczytane napięcie (V)")), 1, 0);
    editVoltage_ = new QLineEdit(QStringLiteral("0"), calib);
    editVoltage_->setObjectName(QStringLiteral("Edit1_0_10V"));
    grid->addWidget(editVoltage_, 2, 0);
    grid->addWidget(MakeButton(calib, "Btn_Calib_0_10", QStringLiteral("Zapisz")), 2, 1);
    grid->addWidget(MakeLabel(calib, "Label_CalibVal_0_10V", QStringLiteral("0")), 2, 2);
    grid->addWidget(MakeLabel(calib, nullptr, QStringLiteral("Odczytany prąd (mA)")), 3, 0);
    editCurrent_ = new QLineEdit(QStringLiteral("0"), calib);
    editCurrent_->setObjectName(QStringLiteral("Edit1_4_20mA"));
    grid->addWidget(editCurrent_, 4, 0);
    grid->addWidget(MakeButton(calib, "Btn_Calib_4_20", QStringLiteral("Zapisz")), 4, 1);
    grid->addWidget(MakeLabel(calib, "Label_CalibVal_0_20mA", QStringLiteral("0")), 4, 2);
    grid->setRowStretch(5, 1);
    grid->addWidget(MakeButton(calib, "Btn_readFactors", QStringLiteral("Odczytaj Factor")), 6, 0,
                    1, 3);
    groups->addWidget(calib, 1);

    auto click = [this](const char* name, void (AnalogCalibrationWindow::*handler)()) {
        auto* b = findChild<QPushButton*>(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    click("Button1", &AnalogCalibrationWindow::Button1Click);
    click("Button2", &AnalogCalibrationWindow::Button2Click);
    click("Btn_Calib_0_10", &AnalogCalibrationWindow::Btn_Calib_0_10Click);
    click("Btn_Calib_4_20", &AnalogCalibrationWindow::Btn_Calib_4_20Click);
    click("Btn_readFactors", &AnalogCalibrationWindow::Btn_readFactorsClick);
}

void AnalogCalibrationWindow::Button1Click() {
    calibration_.Button1Click(!rbVoltage_->isChecked(), cbTest_->isChecked());
}

void AnalogCalibrationWindow::Button2Click() { calibration_.Button2Click(); }

void AnalogCalibrationWindow::SendFrom(QLineEdit* field, bool currentOutput) {
    const auto bounds = AnalogOutputCalibration::EntryFor(currentOutput);
    float value = 0.0f;
    if (ValidateFloatField(field, bounds.decimals, value, bounds.max, bounds.min, locale_)) {
        calibration_.SendMeasuredLevel(currentOutput, value);
    }
}

void AnalogCalibrationWindow::Btn_Calib_0_10Click() { SendFrom(editVoltage_, false); }

void AnalogCalibrationWindow::Btn_Calib_4_20Click() { SendFrom(editCurrent_, true); }

void AnalogCalibrationWindow::Btn_readFactorsClick() { calibration_.Btn_readFactorsClick(); }

}  // namespace karvo
