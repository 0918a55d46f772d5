// Hot-plug notices of hidraw devices from a libudev monitor, read through a
// QSocketNotifier. Inactive where libudev is missing or the monitor cannot be opened.
#pragma once

#include <functional>
#include <memory>

class QObject;

namespace karvo {

class UdevMonitor {
  public:
    // `onChange` runs on the UI thread once per batch of "add" or "remove" events.
    UdevMonitor(std::function<void()> onChange, QObject* context);
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    bool Active() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace karvo
