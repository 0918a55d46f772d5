#include "protocol/transport.h"

#include <gtest/gtest.h>

#include "protocol/commands.h"
#include "support/fake_link_view.h"
#include "support/hex.h"

namespace karvo {
namespace {

using test::HexPadded;
using test::RecordingDevice;

std::vector<std::uint8_t> Ramp63() {
    std::vector<std::uint8_t> v(63);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::uint8_t>(0x80 + i);
    return v;
}

TEST(Transport, ReportIsExactlyTheOutputReportLength) {
    const auto cmd = Ramp63();
    struct Case {
        int length;
        std::size_t count;
        std::size_t copied;  // command bytes that fit
    };
    const Case cases[] = {{65, 1, 1}, {65, 63, 63}, {9, 63, 8}, {64, 63, 63}, {2, 63, 1}};
    for (const auto& c : cases) {
        bool connected = true;
        Transport t(connected);
        RecordingDevice dev(c.length);
        t.Bind(&dev);
        t.SendReport(cmd.data(), c.count);
        ASSERT_EQ(dev.writes.size(), 1u);
        const auto& w = dev.writes[0];
        ASSERT_EQ(w.size(), static_cast<std::size_t>(c.length));
        EXPECT_EQ(w[0], 1);
        for (std::size_t i = 1; i < w.size(); ++i) {
            EXPECT_EQ(w[i], i <= c.copied ? cmd[i - 1] : 0) << "length " << c.length << " byte " << i;
        }
    }
}

TEST(Transport, OneByteCommandInA65ByteReport) {
    bool connected = true;
    Transport t(connected);
    RecordingDevice dev(65);
    t.Bind(&dev);
    t.SendCommand(CmdTare);
    EXPECT_EQ(dev.writes.at(0), HexPadded("01 91", 65));
    // The buffer is zero-filled afresh: a short command after a long one leaves no trace.
    const auto cmd = Ramp63();
    t.SendReport(cmd.data(), cmd.size());
    t.SendCommand(CmdTare);
    EXPECT_EQ(dev.writes.at(2), HexPadded("01 91", 65));
}

TEST(Transport, NothingWhileNotConnected) {
    bool connected = false;
    Transport t(connected);
    RecordingDevice dev;
    t.Bind(&dev);
    t.SendCommand(CmdTare);
    EXPECT_TRUE(dev.writes.empty());
}

TEST(Transport, DeviceFailuresAreSwallowed) {
    bool connected = true;
    Transport t(connected);
    RecordingDevice dev;
    dev.throwOnWrite = true;
    t.Bind(&dev);
    EXPECT_NO_THROW(t.SendCommand(CmdTare));
    dev.throwOnWrite = false;
    dev.fail = true;
    EXPECT_NO_THROW(t.SendCommand(CmdTare));
}

TEST(Transport, UnknownLengthWrites65AndLongReportsGetTheirOwnBuffer) {
    bool connected = true;
    {
        Transport t(connected);
        RecordingDevice dev(0);
        t.Bind(&dev);
        t.SendCommand(CmdReadInfo);
        EXPECT_EQ(dev.writes.at(0).size(), 65u);
    }
    {
        Transport t(connected);
        RecordingDevice dev(1025);
        t.Bind(&dev);
        const auto cmd = Ramp63();
        t.SendReport(cmd.data(), cmd.size());
        ASSERT_EQ(dev.writes.at(0).size(), 1025u);
        EXPECT_EQ(dev.writes[0][63], cmd[62]);
        EXPECT_EQ(dev.writes[0][1024], 0);
    }
}

}  // namespace
}  // namespace karvo
