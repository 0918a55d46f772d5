#include "app/application.h"

#include <QMessageBox>
#include <exception>

#include "app/version.h"

namespace karvo {

namespace {
std::function<void(const std::string&)>& Reporter() {
    static std::function<void(const std::string&)> r;
    return r;
}
}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(kApplicationTitle));
    setApplicationVersion(QString::fromUtf8(kVersion));
}

void Application::SetErrorReporter(std::function<void(const std::string&)> reporter) {
    Reporter() = std::move(reporter);
}

void Application::ReportError(const std::string& message) {
    if (Reporter()) {
        Reporter()(message);
        return;
    }
    QMessageBox::critical(nullptr, QString::fromUtf8(kApplicationTitle),
                          QString::fromStdString(message));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportError(e.what());
    } catch (...) {
        ReportError({});
    }
    return false;
}

}  // namespace karvo
