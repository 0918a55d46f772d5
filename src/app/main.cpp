// KARVO-PC: configurator of the KARVO strain-gauge force amplifier.
#include <QMessageBox>
#include <QStringList>
#include <cstdio>
#include <exception>

#include "app/about_window.h"
#include "app/application.h"
#include "app/main_window.h"
#include "app/version.h"

int main(int argc, char** argv) {
    karvo::Application app(argc, argv);
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] != QStringLiteral("--simulate")) {
            std::fprintf(stderr, "usage: karvo-pc [--simulate]\n");
            return 2;
        }
    }
    try {
        karvo::MainWindow form1;
        karvo::AboutWindow form2(&form1);
        form1.SetAboutWindow(&form2);
        form1.show();
        app.exec();
    } catch (const std::exception& e) {
        karvo::Application::ReportError(e.what());
    } catch (...) {
        karvo::Application::ReportError({});
    }
    return 0;
}
