#include "hid/qt_ui_executor.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "hid/hidapi_backend.h"

namespace karvo {

void QtUiExecutor::Post(std::function<void()> task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

std::shared_ptr<UiExecutor> MakeQtUiExecutor() { return std::make_shared<QtUiExecutor>(); }

std::unique_ptr<HidBackend> MakeHidapiBackend() { return MakeHidapiBackend(MakeQtUiExecutor()); }

}  // namespace karvo
