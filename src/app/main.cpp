// KARVO-PC: configurator of the KARVO strain-gauge force amplifier.
#include <QStringList>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/about_window.h"
#include "app/application.h"
#include "app/main_window.h"
#include "calibration/analog_calibration_window.h"
#include "calibration/sensor_calibration_window.h"
#include "hid/qt_ui_executor.h"
#include "readout/big_display_window.h"
#include "settings/settings_page.h"
#include "sim/simulator_window.h"

int main(int argc, char** argv) {
    karvo::Application app(argc, argv);
    bool simulate = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--simulate")) {
            simulate = true;
        } else {
            std::fprintf(stderr, "usage: karvo-pc [--simulate]\n");
            return 2;
        }
    }
    try {
        karvo::MainWindow form1;
        karvo::AboutWindow form2(&form1);
        karvo::SensorCalibrationWindow formCalib(
            form1.Link(), form1.DialogsInUse(),
            [&form1](const QString& text) { form1.Settings()->SetSensorConstantFromWizard(text); },
            &form1);
        karvo::AnalogCalibrationWindow formAnCalib(form1.Link(), &form1);
        karvo::BigDisplayWindow formBigDisplay;
        form1.SetAboutWindow(&form2);
        form1.SetSensorCalibrationWindow(&formCalib);
        form1.SetAnalogCalibrationWindow(&formAnCalib);
        form1.SetBigDisplayWindow(&formBigDisplay);

        karvo::Simulation sim;
        if (simulate) {
            sim = karvo::MakeSimulation(&form1);
            form1.AttachHid(std::move(sim.backend));
        } else {
            form1.AttachHid(karvo::MakeHidapiBackend());
        }
        form1.show();
        if (sim.window) {
            sim.window->move(form1.frameGeometry().right() + 12, 0);
            sim.window->show();
        }
        app.exec();
        form1.SetBigDisplayWindow(nullptr);
    } catch (const std::exception& e) {
        karvo::Application::ReportError(e.what());
    } catch (...) {
        karvo::Application::ReportError({});
    }
    return 0;
}
