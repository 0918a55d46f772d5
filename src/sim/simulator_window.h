// The "Symulator" window of `karvo-pc --simulate`: the bench of the simulated amplifier
// (applied force, tare input, sensor and converter errors, USB plug).
#pragma once

#include <QWidget>
#include <memory>

#include "hid/hid_backend.h"
#include "sim/simulator_bench.h"

class QCheckBox;
class QDoubleSpinBox;
class QPushButton;

namespace karvo {

class SimulatorWindow : public QWidget {
    Q_OBJECT

  public:
    // A window of its own, also with a parent.
    explicit SimulatorWindow(std::shared_ptr<SimulatorBench> bench, QWidget* parent = nullptr);

    SimulatorBench& Bench() { return *bench_; }

  private:
    void UpdatePlugButton();

    std::shared_ptr<SimulatorBench> bench_;
    QDoubleSpinBox* force_;
    QCheckBox* tareInput_;
    QCheckBox* sensorError_;
    QCheckBox* converterError_;
    QPushButton* plug_;
};

// The simulated amplifier for the program: the backend to give the HID service and the
// bench window (not shown yet). Both share the bench, so either may go first.
struct Simulation {
    std::unique_ptr<HidBackend> backend;
    SimulatorWindow* window = nullptr;  // owned by the parent given to MakeSimulation
    std::shared_ptr<SimulatorBench> bench;
};

// Reports are handed to the Qt event loop.
Simulation MakeSimulation(QWidget* parent);

}  // namespace karvo
