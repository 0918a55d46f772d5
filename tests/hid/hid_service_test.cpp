// The HID service on the Qt event loop, with devices that stream as fast as they are
// read, through the real reader threads and hand-over.
#include "hid/hid_service.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>
#include <thread>

#include "hid/qt_ui_executor.h"
#include "hid/report_reader.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;

struct Stats {
    int handled = 0;       // reports handled, all devices
    int afterRelease = 0;  // reports handled by a device already released
    int released = 0;
};

// Streams one reply code as fast as it is read.
class StreamingDevice : public HidDevice {
  public:
    StreamingDevice(HidDeviceInfo info, std::shared_ptr<Stats> stats, std::uint8_t code)
        : info_(std::move(info)),
          stats_(std::move(stats)),
          code_(code),
          gone_(std::make_shared<bool>(false)) {}
    ~StreamingDevice() override {
        reader_.reset();
        *gone_ = true;
        ++stats_->released;
    }
    const HidDeviceInfo& Info() const override { return info_; }
    bool OpenedReadWrite() const override { return true; }
    int OutputReportLength() const override { return 65; }
    int InputReportLength() const override { return 65; }
    bool WriteReport(const std::uint8_t*, std::size_t) override { return true; }
    void SetInputReportHandler(ReportHandler handler) override {
        reader_.reset();
        if (!handler) return;
        const std::uint8_t code = code_;
        auto stats = stats_;
        auto gone = gone_;
        reader_ = std::make_unique<ReportReader>(
            MakeQtUiExecutor(),
            [code](std::uint8_t* b, std::size_t n, int) {
                std::fill(b, b + n, 0);
                b[0] = 1;
                b[1] = code;
                return static_cast<int>(n);
            },
            65,
            [stats, gone, handler](const std::uint8_t* r, std::size_t n) {
                if (*gone) ++stats->afterRelease;
                ++stats->handled;
                handler(r, n);
            });
    }

  private:
    HidDeviceInfo info_;
    std::shared_ptr<Stats> stats_;
    std::uint8_t code_;
    std::shared_ptr<bool> gone_;
    std::unique_ptr<ReportReader> reader_;
};

class StreamingBackend : public HidBackend {
  public:
    explicit StreamingBackend(std::shared_ptr<Stats> stats, std::uint8_t code = CmdReadMeasurement)
        : stats_(std::move(stats)), code_(code) {}
    std::vector<HidDeviceInfo> present{{"KARVO", 0x1209, 0x4B41, "k"}};
    int enumerations = 0;
    std::vector<HidDeviceInfo> Enumerate() override {
        ++enumerations;
        return present;
    }
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override {
        return std::make_unique<StreamingDevice>(info, stats_, code_);
    }

  private:
    std::shared_ptr<Stats> stats_;
    std::uint8_t code_;
};

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(50us);
    }
    return true;
}

class HidServiceTest : public ::testing::Test {
  protected:
    test::FakeLinkView view;
    StringTable strings;
    DeviceLink link{view, strings};
    std::shared_ptr<Stats> stats = std::make_shared<Stats>();
};

TEST_F(HidServiceTest, FirstDeviceChangeRunsOnceTheEventLoopRuns) {
    auto backend = std::make_unique<StreamingBackend>(stats);
    HidService service(link, std::move(backend));
    EXPECT_TRUE(view.connectionText.empty());
    EXPECT_FALSE(link.State().Connected);

    ASSERT_TRUE(WaitUntil([&] { return link.State().Connected && stats->handled > 0; }));
    EXPECT_EQ(view.connectionText, "Połączony");
    EXPECT_EQ(service.Controller().ListBox1().size(), 1u);
    EXPECT_EQ(link.State().WatchdogCount, 0);
}

TEST_F(HidServiceTest, NoChangeInTheSetNoDiscovery) {
    auto owned = std::make_unique<StreamingBackend>(stats);
    StreamingBackend* backend = owned.get();
    HidService service(link, std::move(owned));
    ASSERT_TRUE(WaitUntil([&] { return link.State().Connected; }));
    const int released = stats->released;
    service.CheckForChanges();
    EXPECT_EQ(stats->released, released);
    backend->present.push_back({"Mouse", 1, 2, "m"});
    service.CheckForChanges();
    EXPECT_EQ(stats->released, released + 1);
    EXPECT_EQ(service.Controller().ListBox1().size(), 2u);
}

TEST_F(HidServiceTest, ReleasingAFastStreamAThousandTimes) {
    HidService service(link, std::make_unique<StreamingBackend>(stats));
    ASSERT_TRUE(WaitUntil([&] { return stats->handled > 0; }));
    for (int i = 0; i < 1000; ++i) {
        const int before = stats->handled;
        service.DeviceChange();
        ASSERT_TRUE(WaitUntil([&] { return stats->handled > before; })) << i;
    }
    WaitUntil([] { return false; }, 20ms);
    EXPECT_EQ(stats->afterRelease, 0);
    EXPECT_TRUE(link.State().Connected);
}

TEST_F(HidServiceTest, ReleasingAFastStreamAThousandTimesInsideAModalLoop) {
    HidService service(link, std::make_unique<StreamingBackend>(stats));
    ASSERT_TRUE(WaitUntil([&] { return stats->handled > 0; }));
    QEventLoop modal;  // what a message box runs
    int rounds = 0;
    std::function<void()> round = [&] {
        const int before = stats->handled;
        service.DeviceChange();
        // Go on once the new device's reports come into this loop.
        auto* poll = new QTimer(&modal);
        QObject::connect(poll, &QTimer::timeout, [&, poll, before] {
            if (stats->handled <= before) return;
            poll->deleteLater();
            if (++rounds == 1000)
                modal.quit();
            else
                round();
        });
        poll->start(0);
    };
    QTimer::singleShot(0, round);
    QTimer::singleShot(60000, &modal, [&] { modal.exit(1); });
    ASSERT_EQ(modal.exec(), 0) << rounds;
    WaitUntil([] { return false; }, 20ms);
    EXPECT_EQ(stats->afterRelease, 0);
}

// The device streams 139 replies, each opening an information box; inside the box the
// device changes and the device whose handler opened the box is released.
TEST_F(HidServiceTest, ReleasingTheDeviceWhoseReportOpenedTheBox) {
    HidService service(link, std::make_unique<StreamingBackend>(stats, CmdRestoreFactory));
    int depth = 0;
    int boxes = 0;
    view.onBox = [&] {
        if (depth > 0) return;  // boxes opened inside this one close at once
        ++depth;
        ++boxes;
        QEventLoop box;
        const int released = stats->released;
        QTimer::singleShot(0, &box, [&] { service.DeviceChange(); });
        auto* poll = new QTimer(&box);
        QObject::connect(poll, &QTimer::timeout, &box, [&] {
            if (stats->released > released) box.quit();
        });
        poll->start(0);
        box.exec();
        --depth;
    };
    ASSERT_TRUE(WaitUntil([&] { return boxes >= 1000; }, 60s)) << boxes;
    view.onBox = nullptr;
    WaitUntil([] { return false; }, 20ms);
    EXPECT_EQ(stats->afterRelease, 0);
}

}  // namespace
}  // namespace karvo
