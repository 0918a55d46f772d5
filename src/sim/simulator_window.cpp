#include "sim/simulator_window.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "hid/qt_ui_executor.h"
#include "sim/amplifier_model.h"
#include "sim/simulated_backend.h"

namespace karvo {

SimulatorWindow::SimulatorWindow(std::shared_ptr<SimulatorBench> bench, QWidget* parent)
    : QWidget(parent, Qt::Window), bench_(std::move(bench)) {
    setObjectName("FormSimulator");
    setWindowTitle("Symulator");

    auto* sensor =
        new QLabel(QString("Czujnik: %1 mV/V, zakres %2 N")
                       .arg(QLocale::system().toString(AmplifierModel::kSensorConstant, 'f', 4))
                       .arg(AmplifierModel::kSensorRangeN, 0, 'f', 0),
                   this);
    sensor->setObjectName("Label_Sensor");

    force_ = new QDoubleSpinBox(this);
    force_->setObjectName("Spin_AppliedForce");
    force_->setRange(-100000.0, 100000.0);
    force_->setDecimals(2);
    force_->setSingleStep(10.0);
    force_->setSuffix(" N");
    force_->setValue(bench_->AppliedForce());

    tareInput_ = new QCheckBox("Wejście tary", this);
    tareInput_->setObjectName("Check_TareInput");
    sensorError_ = new QCheckBox("Błąd czujnika", this);
    sensorError_->setObjectName("Check_SensorError");
    converterError_ = new QCheckBox("Błąd przetwornika", this);
    converterError_->setObjectName("Check_ConverterError");
    plug_ = new QPushButton(this);
    plug_->setObjectName("Btn_Plug");

    auto* form = new QFormLayout;
    form->addRow("Siła przyłożona:", force_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sensor);
    layout->addLayout(form);
    layout->addWidget(tareInput_);
    layout->addWidget(sensorError_);
    layout->addWidget(converterError_);
    layout->addWidget(plug_);

    connect(force_, &QDoubleSpinBox::valueChanged, this,
            [this](double v) { bench_->SetAppliedForce(v); });
    connect(tareInput_, &QCheckBox::toggled, this, [this](bool on) { bench_->SetTareInput(on); });
    connect(sensorError_, &QCheckBox::toggled, this,
            [this](bool on) { bench_->SetSensorError(on); });
    connect(converterError_, &QCheckBox::toggled, this,
            [this](bool on) { bench_->SetConverterError(on); });
    connect(plug_, &QPushButton::clicked, this, [this] {
        bench_->SetPlugged(!bench_->Plugged());
        UpdatePlugButton();
    });
    UpdatePlugButton();
}

void SimulatorWindow::UpdatePlugButton() {
    plug_->setText(bench_->Plugged() ? "Odłącz" : "Podłącz");
}

Simulation MakeSimulation(QWidget* parent) {
    Simulation s;
    s.bench = std::make_shared<SimulatorBench>();
    s.backend = std::make_unique<SimulatedBackend>(s.bench, MakeQtUiExecutor());
    s.window = new SimulatorWindow(s.bench, parent);
    return s;
}

}  // namespace karvo
