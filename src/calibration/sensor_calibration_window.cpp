#include "calibration/sensor_calibration_window.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "app/qt_util.h"
#include "settings/field_checks.h"

namespace karvo {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, bool bold) {
    auto* l = new QLabel(text, parent);
    if (name != nullptr) l->setObjectName(QString::fromLatin1(name));
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        QStyle::StandardPixmap icon) {
    auto* b = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);  // Enter in a field presses nothing
    return b;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setFixedWidth(90);
    return e;
}

}  // namespace

SensorCalibrationWindow::SensorCalibrationWindow(
    DeviceLink& link, Dialogs& dialogs, std::function<void(const QString&)> copyToSensorConstant,
    QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      copyToSensorConstant_(std::move(copyToSensorConstant)),
      wizard_(link),
      locale_(SystemNumberLocale()) {
    setObjectName(QStringLiteral("FormCalib"));
    setWindowTitle(QStringLiteral("Kalibracja czujnika"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(525, 317);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    auto* heading =
        MakeLabel(this, nullptr,
                  QStringLiteral("Kalibracja pozwala dobrać parametr \"stała mostka\" na podstawie "
                                 "wzorcowego obciążenia."),
                  true);
    auto* labelStep1 = MakeLabel(this, "Label_Calib_Step1",
                                 QStringLiteral("1) Zdejmij obciążenie z czujnika "), true);
    auto* btnStep1 =
        MakeButton(this, "Btn_Calib_Step1", QStringLiteral("OK"), QStyle::SP_DialogApplyButton);
    auto* labelLoad = MakeLabel(this, nullptr, QStringLiteral("Obciążenie aktualne [N]:"), false);
    editActualVal_ = MakeEdit(this, "Edit_Calib_ActualVal", QStringLiteral("10"));

    labelStep2_ = MakeLabel(this, "Label_Calib_Step2",
                            QStringLiteral("2) Obciąż czujnik ciężarem wzorcowym"), true);
    labelAStep2_ = MakeLabel(this, "Label_A_Step2", QStringLiteral("Wartość wzorca:"), false);
    editWeight_ = MakeEdit(this, "Edit_CalibWeight_Step2", QStringLiteral("10"));
    rbKg_ = new QRadioButton(QStringLiteral("kg"), this);
    rbKg_->setObjectName(QStringLiteral("RB_kg_step2"));
    rbKg_->setChecked(true);
    rbN_ = new QRadioButton(QStringLiteral("N"), this);
    rbN_->setObjectName(QStringLiteral("RB_N_step2"));
    btnStep2_ =
        MakeButton(this, "Btn_Calib_Step2", QStringLiteral("OK"), QStyle::SP_DialogApplyButton);

    labelStep3_ = MakeLabel(this, "Label_Calib_Step3",
                            QStringLiteral("3) Obciąż czujnik ciężarem wzorcowym"), true);
    labelAStep3_ =
        MakeLabel(this, "Label_A_Step3", QStringLiteral("Obliczona stała czujnika: "), false);
    editSense_ = MakeEdit(this, "Edit_Sense_Step3", QStringLiteral("10"));
    btnOk_ = MakeButton(this, "Btn_Calib_OK", QStringLiteral("GOTOWE"), QStyle::SP_DialogOkButton);
    auto* btnReset =
        MakeButton(this, "Btn_Calib_Reset", QStringLiteral("POWTÓRZ"), QStyle::SP_BrowserReload);

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    int row = 0;
    grid->addWidget(labelStep1, row, 0, 1, 3);
    grid->addWidget(btnStep1, row++, 3);
    grid->addWidget(labelLoad, row, 0);
    grid->addWidget(editActualVal_, row++, 1, Qt::AlignLeft);
    grid->addWidget(labelStep2_, row, 0, 1, 3);
    grid->addWidget(btnStep2_, row++, 3);
    auto* units = new QHBoxLayout;
    units->addWidget(editWeight_);
    units->addWidget(rbKg_);
    units->addWidget(rbN_);
    units->addStretch(1);
    grid->addWidget(labelAStep2_, row, 0);
    grid->addLayout(units, row++, 1, 1, 2);
    grid->addWidget(labelStep3_, row++, 0, 1, 4);
    grid->addWidget(labelAStep3_, row, 0);
    grid->addWidget(editSense_, row++, 1, Qt::AlignLeft);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnReset);
    bottom->addStretch(1);
    bottom->addWidget(btnOk_);

    auto* top = new QVBoxLayout(this);
    top->addWidget(heading);
    top->addSpacing(8);
    top->addLayout(grid);
    top->addStretch(1);
    top->addLayout(bottom);

    connect(btnStep1, &QPushButton::clicked, this, [this] { Btn_Calib_Step1Click(); });
    connect(btnStep2_, &QPushButton::clicked, this, [this] { Btn_Calib_Step2Click(); });
    connect(btnOk_, &QPushButton::clicked, this, [this] { Btn_Calib_OKClick(); });
    connect(btnReset, &QPushButton::clicked, this, [this] { Btn_Calib_ResetClick(); });

    ApplyVisibility();

    // Runs for the life of the window; a tick while hidden does nothing.
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
    timer1_->start();
}

void SensorCalibrationWindow::ApplyVisibility() {
    const auto& v = wizard_.Visible();
    for (QWidget* w : std::initializer_list<QWidget*>{labelStep2_, labelAStep2_, editWeight_, rbKg_,
                                                      rbN_, btnStep2_}) {
        w->setVisible(v.step2);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{labelStep3_, labelAStep3_, editSense_}) {
        w->setVisible(v.step3);
    }
    btnOk_->setVisible(v.ready);
}

void SensorCalibrationWindow::Show(const CalibrationMessage& message) {
    dialogs_.MessageBox(message.text, message.caption, message.flags);
}

void SensorCalibrationWindow::showEvent(QShowEvent* event) {
    // A window restored from the task bar is not a new showing.
    if (!event->spontaneous()) {
        wizard_.FormShow();
        ApplyVisibility();
    }
    QDialog::showEvent(event);
}

void SensorCalibrationWindow::Btn_Calib_ResetClick() {
    wizard_.Btn_Calib_ResetClick();
    ApplyVisibility();
}

void SensorCalibrationWindow::Btn_Calib_Step1Click() {
    wizard_.Btn_Calib_Step1Click();
    ApplyVisibility();
}

void SensorCalibrationWindow::Btn_Calib_Step2Click() {
    float value = 0.0f;
    std::optional<float> weight;
    if (ValidateFloatField(editWeight_, SensorCalibrationWizard::kWeightDecimals, value,
                           SensorCalibrationWizard::kWeightMax, SensorCalibrationWizard::kWeightMin,
                           locale_)) {
        weight = value;
    }
    const auto outcome = wizard_.Btn_Calib_Step2Click(weight, rbKg_->isChecked(), locale_);
    if (outcome.senseText) editSense_->setText(ToQ(*outcome.senseText));
    ApplyVisibility();
    if (outcome.message) Show(*outcome.message);
}

void SensorCalibrationWindow::Btn_Calib_OKClick() {
    if (copyToSensorConstant_) copyToSensorConstant_(editSense_->text());
    Show(SensorCalibrationWizard::CopiedMessage());
    hide();
}

void SensorCalibrationWindow::Timer1Timer() {
    if (const auto text = wizard_.Timer1Timer(isVisible(), locale_)) {
        editActualVal_->setText(ToQ(*text));
    }
}

}  // namespace karvo
