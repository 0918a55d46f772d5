// The HID layer of the window program: the controller over a backend, the first device
// change once the event loop runs, and the hot-plug notices that run discovery again.
#pragma once

#include <QObject>
#include <memory>

#include "hid/hid_backend.h"
#include "hid/hid_controller.h"
#include "protocol/device_link.h"

class QTimer;

namespace karvo {

class UdevMonitor;

class HidService : public QObject {
    Q_OBJECT

  public:
    // Rescan interval where no hot-plug monitor is available.
    static constexpr int kRescanIntervalMs = 1000;
    // Hot-plug events closer together than this run one discovery.
    static constexpr int kSettleMs = 50;

    // Posts the first device change; it runs once the event loop does. Going, the service
    // releases every device and leaves `link` alone, so it may outlive the link.
    HidService(DeviceLink& link, std::unique_ptr<HidBackend> backend, QObject* parent = nullptr);
    ~HidService() override;

    HidController& Controller() { return *controller_; }
    HidBackend& Backend() { return *backend_; }
    // True when hot-plug comes from the udev monitor, false when the service rescans.
    bool MonitorsHotplug() const;

    // A device change: discovery now.
    void DeviceChange();
    // Discovery only when the set of devices changed since the last one.
    void CheckForChanges();

  private:
    std::unique_ptr<HidBackend> backend_;
    std::unique_ptr<HidController> controller_;
    std::unique_ptr<UdevMonitor> udev_;
    QTimer* rescan_ = nullptr;
    QTimer* settle_ = nullptr;
};

}  // namespace karvo
