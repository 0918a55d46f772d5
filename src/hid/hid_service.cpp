#include "hid/hid_service.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>

#include "hid/udev_monitor.h"

namespace karvo {

HidService::HidService(DeviceLink& link, std::unique_ptr<HidBackend> backend, QObject* parent)
    : QObject(parent),
      backend_(std::move(backend)),
      controller_(std::make_unique<HidController>(*backend_, link)) {
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, &HidService::DeviceChange);

    if (backend_->UsesSystemDevices()) {
        udev_ = std::make_unique<UdevMonitor>([this] { settle_->start(); }, this);
        if (!udev_->Active()) {
            rescan_ = new QTimer(this);
            rescan_->setInterval(kRescanIntervalMs);
            connect(rescan_, &QTimer::timeout, this, &HidService::CheckForChanges);
            rescan_->start();
        }
    }
    // The backend's own notices may come from any thread; they are taken on this one.
    QPointer<HidService> self(this);
    backend_->SetChangeListener([self] {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr) return;
        QMetaObject::invokeMethod(
            app,
            [self] {
                if (self) self->CheckForChanges();
            },
            Qt::QueuedConnection);
    });
    QTimer::singleShot(0, this, &HidService::DeviceChange);
}

HidService::~HidService() {
    backend_->SetChangeListener({});
    udev_.reset();
    controller_.reset();  // releases every device; the link may already be gone
}

bool HidService::MonitorsHotplug() const { return udev_ != nullptr && udev_->Active(); }

void HidService::DeviceChange() { controller_->JvHidDeviceController1DeviceChange(); }

void HidService::CheckForChanges() { controller_->CheckForChanges(); }

}  // namespace karvo
