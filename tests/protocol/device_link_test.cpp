#include "protocol/device_link.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/fake_link_view.h"
#include "support/hex.h"

namespace karvo {
namespace {

using test::FakeLinkView;
using test::RecordingDevice;

std::vector<std::uint8_t> InfoReply(float version, const char* name, const char* detail) {
    std::vector<std::uint8_t> d(1 + TDeviceInfoRecord::kSize, 0);
    d[0] = CmdReadInfo;
    TDeviceInfoRecord r;
    r.FirmwareVersion = version;
    std::strncpy(r.DeviceName.data(), name, 12);
    std::strncpy(r.DeviceDetail.data(), detail, 12);
    r.Encode(d.data() + 1);
    return d;
}

std::vector<std::uint8_t> SettingsReply(const TDeviceSettingsRecord& s = {}) {
    std::vector<std::uint8_t> d(1 + TDeviceSettingsRecord::kSize, 0);
    d[0] = CmdReadSettings;
    s.Encode(d.data() + 1);
    return d;
}

std::vector<std::uint8_t> MeasurementReply(float value = 1.0f) {
    std::vector<std::uint8_t> d(64, 0);  // a whole report's data, as the device sends it
    d[0] = CmdReadMeasurement;
    TMeasurementRecord m;
    m.Value = value;
    m.Encode(d.data() + 1);
    return d;
}

class DeviceLinkTest : public ::testing::Test {
protected:
    DeviceLinkTest() : link(view, strings, NumberLocale{",", " "}) {
        link.Bind(&dev);
        link.State().Connected = true;
    }
    void Feed(const std::vector<std::uint8_t>& d) { link.ReportDispatcher(d.data(), d.size()); }
    void Feed(std::initializer_list<std::uint8_t> d) { link.ReportDispatcher(d.begin(), d.size()); }

    FakeLinkView view;
    StringTable strings;
    RecordingDevice dev;
    DeviceLink link;
};

TEST_F(DeviceLinkTest, ConversationAfterBinding) {
    link.ShowConnected();
    EXPECT_EQ(view.connectionText, "Połączony");
    EXPECT_EQ(view.connectionColour, colour::LightGreen);

    Feed(InfoReply(1.03f, "KARVO", "D7"));
    EXPECT_EQ(view.connectionText, "Połączono z : KARVO ver.1,03 (D7)");
    EXPECT_EQ(view.connectionColour, colour::LightGreen);

    Feed(SettingsReply());
    EXPECT_EQ(view.showSettingsCalls, 1);
    EXPECT_EQ(view.statusLine, "Parametry urządzenia odczytane");

    Feed(MeasurementReply(4.5f));
    EXPECT_TRUE(link.State().MeasurementStatusPending);
    EXPECT_EQ(link.State().Measurement.Value, 4.5f);
    EXPECT_EQ(dev.Codes(), (std::vector<int>{CmdReadInfo, CmdReadSettings, CmdStartMeasurements}));
}

TEST_F(DeviceLinkTest, SettingsReplyOnTheSettingsPageDoesNotRestartTheStream) {
    view.page = kSettingsPage;
    Feed(SettingsReply());
    EXPECT_TRUE(dev.writes.empty());
}

TEST_F(DeviceLinkTest, FirstMeasurementOnTheSettingsPageReadsSettingsOnce) {
    // Right after start LastPageIndex is 0, so the first measurement on page 3 reads settings.
    view.page = kSettingsPage;
    Feed(MeasurementReply());
    EXPECT_EQ(dev.Codes(), std::vector<int>{CmdReadSettings});
    EXPECT_FALSE(link.State().MeasurementStatusPending);
    Feed(MeasurementReply());
    EXPECT_EQ(dev.Codes(), std::vector<int>{CmdReadSettings});
    EXPECT_TRUE(link.State().MeasurementStatusPending);

    view.page = 0;
    link.PageControl1Change();
    EXPECT_EQ(dev.Codes().back(), CmdStartMeasurements);
    view.page = kSettingsPage;
    link.PageControl1Change();
    EXPECT_EQ(dev.Codes().size(), 2u);
}

TEST_F(DeviceLinkTest, WatchdogDropsTheLinkOnTheTwelfthTick) {
    for (int tick = 1; tick <= 11; ++tick) {
        link.TimerTimeoutTimer();
        ASSERT_TRUE(link.State().Connected) << tick;
    }
    link.TimerTimeoutTimer();
    EXPECT_FALSE(link.State().Connected);
    EXPECT_EQ(view.connectionText, "Brak połączenia");
    EXPECT_EQ(view.connectionColour, colour::LightRed);
    EXPECT_EQ(link.State().WatchdogCount, 0);
}

TEST_F(DeviceLinkTest, MeasurementAtTickElevenKeepsTheLink) {
    for (int tick = 1; tick <= 11; ++tick) link.TimerTimeoutTimer();
    Feed(MeasurementReply());
    for (int tick = 1; tick <= 11; ++tick) link.TimerTimeoutTimer();
    EXPECT_TRUE(link.State().Connected);
}

TEST_F(DeviceLinkTest, WatchdogPausesOnTheSettingsPage) {
    for (int i = 0; i < 5; ++i) link.TimerTimeoutTimer();
    view.page = kSettingsPage;
    for (int i = 0; i < 100; ++i) link.TimerTimeoutTimer();
    EXPECT_EQ(link.State().WatchdogCount, 5);
    EXPECT_TRUE(link.State().Connected);
    view.page = 0;
    for (int i = 0; i < 6; ++i) link.TimerTimeoutTimer();
    EXPECT_TRUE(link.State().Connected);
    link.TimerTimeoutTimer();
    EXPECT_FALSE(link.State().Connected);
}

TEST_F(DeviceLinkTest, LostLinkStillStoresButStaysLostAndSilent) {
    for (int i = 0; i < 12; ++i) link.TimerTimeoutTimer();
    ASSERT_FALSE(link.State().Connected);
    link.State().WatchdogCount = 3;
    Feed(MeasurementReply(7.0f));
    EXPECT_EQ(link.State().Measurement.Value, 7.0f);
    EXPECT_EQ(link.State().WatchdogCount, 0);
    EXPECT_FALSE(link.State().Connected);
    Feed(InfoReply(1.04f, "KARVO", "X"));  // its follow-up is dropped by the transport
    link.BtnTaraClick();
    EXPECT_TRUE(dev.writes.empty());
}

TEST_F(DeviceLinkTest, UnknownCodesAndShortRepliesChangeNothing) {
    const LinkState before = link.State();
    int told = 0;
    link.SetReplyObserver([&](std::uint8_t, const std::uint8_t*, std::size_t) { ++told; });
    for (std::uint8_t code : {3, 131, 146, 168}) {
        auto d = MeasurementReply(9.0f);
        d[0] = code;
        Feed(d);
    }
    // Replies shorter than the record they announce.
    auto shortInfo = InfoReply(1.0f, "X", "Y");
    shortInfo.pop_back();
    Feed(shortInfo);
    auto shortSettings = SettingsReply();
    shortSettings.pop_back();
    Feed(shortSettings);
    auto shortMeasurement = MeasurementReply(9.0f);
    shortMeasurement.resize(35);
    Feed(shortMeasurement);
    Feed({CmdWriteSettings});
    link.ReportDispatcher(nullptr, 0);

    EXPECT_TRUE(dev.writes.empty());
    EXPECT_EQ(view.events, std::vector<std::string>{});
    EXPECT_EQ(view.connectionText, "");
    EXPECT_EQ(link.State().Measurement.Value, before.Measurement.Value);
    EXPECT_FALSE(link.State().MeasurementStatusPending);
    EXPECT_EQ(told, 0);
}

TEST_F(DeviceLinkTest, TheObserverHearsEachAcceptedReplyAfterItWasHandled) {
    std::vector<std::uint8_t> codes;
    link.SetReplyObserver([&](std::uint8_t code, const std::uint8_t* data, std::size_t size) {
        codes.push_back(code);
        EXPECT_EQ(data[0], code);
        if (code == CmdReadMeasurement) {
            EXPECT_EQ(size, 64u);
            EXPECT_EQ(link.State().Measurement.Value, 2.5f);  // already stored
        }
    });
    Feed(InfoReply(1.04f, "KARVO", "X"));
    Feed(SettingsReply());
    Feed(MeasurementReply(2.5f));
    Feed({CmdWriteSettings, 0});
    Feed({CmdTare});
    Feed({CmdResetMinMax});
    Feed({CmdRestoreFactory});
    EXPECT_EQ(codes, (std::vector<std::uint8_t>{CmdReadInfo, CmdReadSettings, CmdReadMeasurement,
                                                 CmdWriteSettings, CmdTare, CmdResetMinMax,
                                                 CmdRestoreFactory}));
}

TEST_F(DeviceLinkTest, WriteAcknowledgements) {
    Feed({CmdWriteSettings, 0});
    Feed({CmdWriteSettings, 5});
    EXPECT_EQ(view.events, (std::vector<std::string>{
                               "status:Parametry urządzenia zapisane",
                               "units",
                               "box: Info|Ustawienia zapisane w urządzeniu|64",
                               "box closed",
                               "status:Błędne parametry",
                               "units",
                               "box: Uwaga|Błędne parametry|48",
                               "box closed",
                           }));
}

TEST_F(DeviceLinkTest, FactoryRestoreReadsSettingsAfterTheBox) {
    view.onBox = [&] { EXPECT_TRUE(dev.writes.empty()); };
    Feed({CmdRestoreFactory});
    EXPECT_EQ(view.events.front(), "status:Parametry fabryczne przywrócone.");
    EXPECT_EQ(view.events[1], "box: Info|Ustawienia fabryczne przywrócone|64");
    EXPECT_EQ(dev.Codes(), std::vector<int>{CmdReadSettings});
}

TEST_F(DeviceLinkTest, TareAndMinMaxFollowTheLanguage) {
    Feed({CmdTare});
    EXPECT_EQ(view.statusLine, "Wartość wytarowana");
    strings.SetLanguage(StringTable::kEnglish);
    Feed({CmdTare});
    EXPECT_EQ(view.statusLine, "Tare ok");
    Feed({CmdResetMinMax});
    EXPECT_EQ(view.statusLine, "Min/max values reset");
    link.ShowDisconnected();
    EXPECT_EQ(view.connectionText, "Disconnected");
    EXPECT_EQ(view.connectionColour, colour::LightGrey);
}

TEST_F(DeviceLinkTest, TareWhileNotConnectedSendsNothing) {
    link.State().Connected = false;
    link.BtnTaraClick();
    link.Btn_ResetMinMaxClick();
    EXPECT_TRUE(dev.writes.empty());
    EXPECT_EQ(view.statusLine, "...");
}

}  // namespace
}  // namespace karvo
