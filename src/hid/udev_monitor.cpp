#include "hid/udev_monitor.h"

#include <QObject>
#include <QSocketNotifier>
#include <cstring>

#if defined(KARVO_HAVE_UDEV)
#include <libudev.h>
#endif

namespace karvo {

#if defined(KARVO_HAVE_UDEV)

struct UdevMonitor::Impl {
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> onChange;

    ~Impl() {
        notifier.reset();
        if (monitor != nullptr) udev_monitor_unref(monitor);
        if (context != nullptr) udev_unref(context);
    }

    void Drain() {
        bool changed = false;
        while (udev_device* device = udev_monitor_receive_device(monitor)) {
            const char* action = udev_device_get_action(device);
            if (action != nullptr &&
                (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0)) {
                changed = true;
            }
            udev_device_unref(device);
        }
        if (changed && onChange) onChange();
    }
};

UdevMonitor::UdevMonitor(std::function<void()> onChange, QObject* context)
    : impl_(std::make_unique<Impl>()) {
    impl_->onChange = std::move(onChange);
    impl_->context = udev_new();
    if (impl_->context == nullptr) return;
    // Events from the udev daemon come after its rules ran, access rights included.
    impl_->monitor = udev_monitor_new_from_netlink(impl_->context, "udev");
    if (impl_->monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(impl_->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(impl_->monitor) < 0) {
        if (impl_->monitor != nullptr) udev_monitor_unref(impl_->monitor);
        impl_->monitor = nullptr;
        return;
    }
    const int fd = udev_monitor_get_fd(impl_->monitor);
    if (fd < 0) return;
    impl_->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    Impl* impl = impl_.get();
    QObject::connect(impl_->notifier.get(), &QSocketNotifier::activated, context,
                     [impl] { impl->Drain(); });
}

bool UdevMonitor::Active() const { return impl_->notifier != nullptr; }

#else

struct UdevMonitor::Impl {};

UdevMonitor::UdevMonitor(std::function<void()>, QObject*) : impl_(std::make_unique<Impl>()) {}

bool UdevMonitor::Active() const { return false; }

#endif

UdevMonitor::~UdevMonitor() = default;

}  // namespace karvo
