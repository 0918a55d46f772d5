// The main window offscreen on the real hidapi backend, inside the test VM, against the
// virtual amplifier on uhid (tests/e2e/guest-test.sh starts it and passes its process ID and
// its trace log). Hot-plug reaches the window through the udev monitor, as on a desktop.
// Not a host test: it needs the virtual amplifier and a kernel that runs it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QComboBox>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "app/main_window.h"
#include "hid/qt_ui_executor.h"
#include "protocol/commands.h"
#include "support/scripted_dialogs.h"

namespace karvo {
namespace {

// Long enough for a slow emulated machine; a hang is what it catches, not slowness.
constexpr int kDeadlineMs = 15000;

// Milliseconds until `done`, or -1 when the deadline passed first.
int WaitFor(const std::function<bool()>& done, int ms = kDeadlineMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return static_cast<int>(t.elapsed());
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Hex(const std::uint8_t* data, std::size_t size) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        out += byte;
    }
    return out;
}

class WindowOnVirtualAmplifier : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(&dialogs, QStringLiteral("/tmp/karvo-e2e-options.ini"));
        window->AttachHid(MakeHidapiBackend());
        window->show();
        status = Find<QLineEdit>("ConnectionStatus");
    }
    template <class T>
    T* Find(const char* name) {
        T* c = window->findChild<T*>(QString::fromUtf8(name));
        if (c == nullptr) ADD_FAILURE() << "no control " << name;
        return c;
    }
    bool Connected() const {
        return status->text().startsWith(QStringLiteral("Połączono z : KARVO"));
    }

    test::ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    QLineEdit* status = nullptr;
};

TEST_F(WindowOnVirtualAmplifier, ConversationSettingsUnplugAndReplug) {
    const int amp = std::atoi(Env("KARVO_E2E_AMP_PID").c_str());
    const std::string log = Env("KARVO_E2E_AMP_LOG");
    ASSERT_GT(amp, 0) << "KARVO_E2E_AMP_PID is not set";
    ASSERT_FALSE(log.empty()) << "KARVO_E2E_AMP_LOG is not set";

    // Found by its product string, identified (0, then 1), streaming.
    ASSERT_GE(WaitFor([&] { return Connected(); }), 0) << status->text().toStdString();
    std::printf("window: %s\n", status->text().toUtf8().constData());
    auto* line = Find<QLabel>("Label_Status");
    auto* value = Find<QLabel>("DisplayTensVal");
    ASSERT_GE(WaitFor([&] {
                  return line->text() == QStringLiteral("Odczyt pomiarów z urządzenia") &&
                         !value->text().startsWith(QStringLiteral("---"));
              }),
              0)
        << line->text().toStdString() << " / " << value->text().toStdString();
    std::printf("window: streaming, readout %s\n", value->text().toUtf8().constData());

    // The settings page reads the settings; a write reaches the device byte for byte and
    // its reply is confirmed.
    auto* pages = Find<QTabWidget>("PageControl1");
    pages->setCurrentIndex(3);
    auto* range = Find<QLineEdit>("Edit_TRange");
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    ASSERT_EQ(range->text().toStdString(), std::to_string(window->Link().State().Settings.TRange));
    range->setText(QStringLiteral("1750"));
    Find<QComboBox>("Cb_ModbusAddress")->setCurrentText(QStringLiteral("12"));
    TDeviceSettingsRecord expected = window->Link().State().Settings;
    expected.TRange = 1750;
    expected.ModbusAddress = 12;
    const auto frame = WriteSettingsFrame(expected);
    const std::string wire = "output 01" + Hex(frame.data(), frame.size());
    Find<QPushButton>("Btn_SetTensSettings")->click();
    ASSERT_GE(WaitFor([&] { return ReadAll(log).find(wire) != std::string::npos; }), 0)
        << "the device never got " << wire;
    ASSERT_GE(WaitFor([&] {
                  for (const auto& b : dialogs.boxes) {
                      if (b.text == "Ustawienia zapisane w urządzeniu") return true;
                  }
                  return false;
              }),
              0);
    std::printf("window: settings written byte for byte and confirmed\n");

    // Unplugged while on the settings page: the link drops, no hang.
    ASSERT_EQ(kill(amp, SIGUSR1), 0);
    const int lost = WaitFor([&] { return !window->Link().State().Connected && !Connected(); });
    ASSERT_GE(lost, 0) << "the window missed the unplug: " << status->text().toStdString();
    std::printf("window: lost device shown %d ms after the unplug: %s\n", lost,
                status->text().toUtf8().constData());

    // Plugged in again: bound again by the hot-plug notice, the settings reloaded as the
    // device kept them.
    range->setText(QStringLiteral("0"));
    ASSERT_EQ(kill(amp, SIGUSR2), 0);
    const int back = WaitFor([&] { return Connected(); });
    ASSERT_GE(back, 0) << "the window did not bind the device again";
    ASSERT_GE(WaitFor([&] { return range->text() == QStringLiteral("1750"); }), 0)
        << range->text().toStdString();
    EXPECT_EQ(Find<QComboBox>("Cb_ModbusAddress")->currentText(), QStringLiteral("12"));
    std::printf("window: bound again %d ms after the replug, settings reloaded\n", back);

    // Back on the readout page the stream is started again.
    auto starts = [&] {
        const std::string text = ReadAll(log);
        int n = 0;
        for (auto at = text.find("output 0183"); at != std::string::npos;
             at = text.find("output 0183", at + 1)) {
            ++n;
        }
        return n;
    };
    const int before = starts();
    pages->setCurrentIndex(0);
    ASSERT_GE(WaitFor([&] { return starts() > before; }), 0);
    ASSERT_GE(WaitFor([&] { return line->text() == QStringLiteral("Odczyt pomiarów z urządzenia"); }),
              0);
}

// Run as a user who may not open the node.
TEST_F(WindowOnVirtualAmplifier, NodeThatMayNotBeOpened) {
    ASSERT_GE(WaitFor([&] { return status->toolTip().contains(QStringLiteral("Permission denied")); }),
              0)
        << status->text().toStdString() << " / " << status->toolTip().toStdString();
    EXPECT_EQ(status->text(), QStringLiteral("Brak połączenia"));
    std::printf("window: %s (%s)\n", status->text().toUtf8().constData(),
                status->toolTip().toUtf8().constData());
}

}  // namespace
}  // namespace karvo
