#include "hid/hidapi_backend.h"

#include <hidapi.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "hid/hidraw_descriptor.h"
#include "hid/report_descriptor.h"
#include "hid/report_reader.h"

namespace karvo {
namespace {

// UTF-8 of a wide string from hidapi (UTF-32 on Linux and macOS, UTF-16 on Windows).
std::string ToUtf8(const wchar_t* text) {
    std::string out;
    if (text == nullptr) return out;
    auto put = [&out](std::uint32_t c) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (const wchar_t* p = text; *p != 0; ++p) {
        std::uint32_t c = static_cast<std::uint32_t>(*p);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 &&
            p[1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(p[1]) - 0xDC00);
            ++p;
        }
        put(c);
    }
    return out;
}

// hid_init once for all backends, hid_exit when the last one goes.
class HidapiLibrary {
  public:
    static void Acquire() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (users_++ == 0) hid_init();
    }
    static void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (--users_ == 0) hid_exit();
    }

  private:
    static inline std::mutex mutex_;
    static inline int users_ = 0;
};

std::optional<std::vector<std::uint8_t>> ReadDescriptor(hid_device* handle,
                                                        const std::string& path) {
#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
    std::vector<std::uint8_t> buffer(HID_API_MAX_REPORT_DESCRIPTOR_SIZE);
    const int n = hid_get_report_descriptor(handle, buffer.data(), buffer.size());
    if (n > 0) {
        buffer.resize(static_cast<std::size_t>(n));
        return buffer;
    }
#else
    (void)handle;
#endif
    return ReadHidrawReportDescriptor(path);
}

// The backend's change listener, shared with its devices' readers. On return from Set(),
// the old listener is neither running nor called again.
class ListenerSlot {
  public:
    void Set(std::function<void()> listener) {
        std::lock_guard<std::mutex> lock(mutex_);
        listener_ = std::move(listener);
    }
    void Notify() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (listener_) listener_();
    }

  private:
    std::mutex mutex_;
    std::function<void()> listener_;
};

class HidapiDevice : public HidDevice {
  public:
    HidapiDevice(HidDeviceInfo info, std::shared_ptr<UiExecutor> executor,
                 std::shared_ptr<ListenerSlot> changes)
        : info_(std::move(info)), executor_(std::move(executor)), changes_(std::move(changes)) {
        errno = 0;
        handle_ = hid_open_path(info_.Path.c_str());
        if (handle_ == nullptr) {
            failure_ = ToUtf8(hid_error(nullptr));
            if (failure_.empty() || failure_ == "Success") {
                failure_ = errno != 0 ? std::strerror(errno) : "cannot open " + info_.Path;
            }
            return;
        }
        layout_ = UsableReportLayout(ReadDescriptor(handle_, info_.Path));
    }

    ~HidapiDevice() override {
        reader_.reset();  // the reader ends before its handle is closed
        if (handle_ != nullptr) hid_close(handle_);
    }

    const HidDeviceInfo& Info() const override { return info_; }
    bool OpenedReadWrite() const override { return handle_ != nullptr; }
    std::string OpenFailure() const override { return failure_; }
    int OutputReportLength() const override { return layout_.OutputReportByteLength; }
    int InputReportLength() const override { return layout_.InputReportByteLength; }

    bool WriteReport(const std::uint8_t* data, std::size_t length) override {
        if (handle_ == nullptr) return false;
        return hid_write(handle_, data, length) == static_cast<int>(length);
    }

    void SetInputReportHandler(ReportHandler handler) override {
        reader_.reset();
        if (!handler || handle_ == nullptr) return;
        hid_device* handle = handle_;
        const bool numbered = layout_.UsesReportIds;
        // Without report IDs hidapi delivers the report alone; a zero ID byte goes in
        // front, so byte 1 is always where the reply begins.
        ReportReader::ReadFunction read = [handle, numbered](std::uint8_t* buffer,
                                                             std::size_t capacity, int timeout) {
            if (numbered) return hid_read_timeout(handle, buffer, capacity, timeout);
            if (capacity < 2) return -1;
            buffer[0] = 0;
            const int n = hid_read_timeout(handle, buffer + 1, capacity - 1, timeout);
            return n > 0 ? n + 1 : n;
        };
        // A failed read is how a device that is unplugged shows itself first (hidraw wakes
        // its readers before the node leaves the device list), so it is a change to look
        // at; the listener looks again after every failed read until the device is gone.
        std::shared_ptr<ListenerSlot> changes = changes_;
        reader_ = std::make_unique<ReportReader>(
            executor_, std::move(read), static_cast<std::size_t>(layout_.InputReportByteLength),
            std::move(handler), [changes] { changes->Notify(); });
    }

  private:
    HidDeviceInfo info_;
    std::shared_ptr<UiExecutor> executor_;
    std::shared_ptr<ListenerSlot> changes_;
    hid_device* handle_ = nullptr;
    std::string failure_;
    ReportLayout layout_{kFallbackReportByteLength, kFallbackReportByteLength, true};
    std::unique_ptr<ReportReader> reader_;
};

class HidapiBackend : public HidBackend {
  public:
    explicit HidapiBackend(std::shared_ptr<UiExecutor> executor) : executor_(std::move(executor)) {
        HidapiLibrary::Acquire();
    }
    ~HidapiBackend() override { HidapiLibrary::Release(); }

    std::vector<HidDeviceInfo> Enumerate() override {
        std::vector<HidDeviceInfo> devices;
        hid_device_info* list = hid_enumerate(0, 0);
        for (hid_device_info* d = list; d != nullptr; d = d->next) {
            if (d->path == nullptr) continue;
            HidDeviceInfo info;
            info.Product = ToUtf8(d->product_string);
            info.VendorId = d->vendor_id;
            info.ProductId = d->product_id;
            info.Path = d->path;
            devices.push_back(std::move(info));
        }
        hid_free_enumeration(list);
        return devices;
    }

    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        return std::make_unique<HidapiDevice>(info, executor_, changes_);
    }

    void SetChangeListener(std::function<void()> listener) override {
        changes_->Set(std::move(listener));
    }

  private:
    std::shared_ptr<UiExecutor> executor_;
    std::shared_ptr<ListenerSlot> changes_ = std::make_shared<ListenerSlot>();
};

}  // namespace

std::unique_ptr<HidBackend> MakeHidapiBackend(std::shared_ptr<UiExecutor> executor) {
    return std::make_unique<HidapiBackend>(std::move(executor));
}

}  // namespace karvo
