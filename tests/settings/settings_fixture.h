// A settings form over a connected link whose writes land in a recording device.
#pragma once

#include <gtest/gtest.h>

#include "app/shared_state.h"
#include "app/string_table.h"
#include "settings/settings_form.h"
#include "support/fake_link_view.h"
#include "support/scripted_dialogs.h"

namespace karvo::test {

class SettingsFixture : public ::testing::Test {
  protected:
    explicit SettingsFixture(NumberLocale locale = NumberLocale{".", ","})
        : link(view, strings, locale), form(link, shared, dialogs, strings) {
        link.Bind(&device);
        link.State().Connected = true;
    }

    SettingsPageValues& page() { return form.Page(); }
    TDeviceSettingsRecord& record() { return link.State().Settings; }

    // The settings record carried by the last report written (report ID, code 138, record).
    TDeviceSettingsRecord SentRecord() const {
        EXPECT_FALSE(device.writes.empty());
        const auto& w = device.writes.back();
        EXPECT_EQ(w.at(1), CmdWriteSettings);
        return TDeviceSettingsRecord::Decode(w.data() + 2);
    }

    FakeLinkView view;
    StringTable strings;
    RecordingDevice device;
    DeviceLink link;
    SharedDisplayState shared;
    ScriptedDialogs dialogs;
    SettingsForm form;
};

}  // namespace karvo::test
