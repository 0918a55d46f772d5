// The application object: one error box captioned "MERON" for any exception that escapes
// an event handler, after which the program goes on.
#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace karvo {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an escaped error; tests replace it to see what would be shown.
    static void SetErrorReporter(std::function<void(const std::string&)> reporter);
    static void ReportError(const std::string& message);
};

}  // namespace karvo
