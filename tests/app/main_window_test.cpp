// The whole program offscreen: the main window with the simulated amplifier.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <fstream>
#include <functional>

#include "app/qt_util.h"
#include "app/version.h"
#include "temp_folder.h"
#include "settings/ini_file.h"
#include "sim/simulator_bench.h"
#include "sim/simulator_window.h"
#include "support/scripted_dialogs.h"

namespace karvo {
namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class MainWindowTest : public ::testing::Test {
protected:
    QString OptionsPath() const {
        return QString::fromStdString((folder.path / "config.ini").string());
    }
    void WriteOptions(const std::string& text) {
        std::ofstream(folder.path / "config.ini", std::ios::binary) << text;
    }
    template <class T>
    T* Find(MainWindow& w, const char* name) {
        T* c = w.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    test::TempFolder folder;
    test::ScriptedDialogs dialogs;
};

TEST_F(MainWindowTest, FirstStartWithoutOptionsFile) {
    MainWindow w(&dialogs, OptionsPath());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KARVO-PC  ver.: 1.04"));
    auto* status = Find<QLineEdit>(w, "ConnectionStatus");
    EXPECT_EQ(status->text(), QStringLiteral("Brak połączenia"));
    EXPECT_EQ(BackgroundOf(status), colour::LightRed);
    EXPECT_EQ(Find<QLabel>(w, "Label_Status")->text(), QStringLiteral("..."));
    auto* pages = Find<QTabWidget>(w, "PageControl1");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Odczyty"));
    EXPECT_FALSE(pages->isTabVisible(1));
    EXPECT_FALSE(pages->isTabVisible(2));
    EXPECT_TRUE(pages->isTabVisible(3));
    auto* address = Find<QComboBox>(w, "Cb_ModbusAddress");
    ASSERT_EQ(address->count(), 247);
    EXPECT_EQ(address->itemText(246), QStringLiteral("247"));
    EXPECT_EQ(address->currentText(), QStringLiteral("1"));
    EXPECT_FALSE(Find<QComboBox>(w, "siLangCombo1")->isEnabled());

    // Closing writes the eleven keys, FileName not among them.
    w.close();
    IniFile ini;
    ASSERT_EQ(ini.LoadFile((folder.path / "config.ini").string()), IniFile::LoadResult::Loaded);
    EXPECT_EQ(ini.KeyNames("Options").size(), 11u);
    EXPECT_FALSE(ini.ValueExists("Options", "FileName"));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(MainWindowTest, EnglishFromTheOptionsFile) {
    WriteOptions("[Options]\r\nLanguage=1\r\nCheckbox_DataAcquistion=1\r\n");
    MainWindow w(&dialogs, OptionsPath());
    auto* pages = Find<QTabWidget>(w, "PageControl1");
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Measurements"));
    EXPECT_EQ(pages->tabText(3), QStringLiteral("Settings"));
    EXPECT_EQ(Find<QLabel>(w, "Label_ConnectionStatus")->text(),
              QStringLiteral("Connection status"));
    EXPECT_EQ(Find<QWidget>(w, "BitBtn3")->property("text").toString(), QStringLiteral("Info"));
    EXPECT_FALSE(Find<QWidget>(w, "Button_SaveFilePath")->isEnabled());
    // The first status text is set before the language is applied.
    EXPECT_EQ(Find<QLineEdit>(w, "ConnectionStatus")->text(), QStringLiteral("Brak połączenia"));
}

TEST_F(MainWindowTest, StoredLanguageOutsideTheListFallsBackToPolish) {
    WriteOptions("[Options]\r\nLanguage=7\r\n");
    MainWindow w(&dialogs, OptionsPath());
    EXPECT_EQ(Find<QTabWidget>(w, "PageControl1")->tabText(0), QStringLiteral("Odczyty"));
    EXPECT_EQ(Find<QComboBox>(w, "Cb_ModbusAddress")->count(), 247);
}

TEST_F(MainWindowTest, UnwritableOptionsFileIsShownOnceAndClosingGoesOn) {
    MainWindow w(&dialogs, QStringLiteral("/proc/karvo-no-such-folder/config.ini"));
    EXPECT_FALSE(w.WriteOptions());
    w.close();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("/proc/karvo-no-such-folder/config.ini"),
              std::string::npos);
    EXPECT_EQ(dialogs.boxes[0].caption, kApplicationTitle);
}

TEST_F(MainWindowTest, LiveReadoutWithTheSimulatedAmplifier) {
    MainWindow w(&dialogs, OptionsPath());
    Simulation sim = MakeSimulation(&w);
    auto bench = sim.bench;
    w.AttachHid(std::move(sim.backend));
    w.show();

    auto* status = Find<QLineEdit>(w, "ConnectionStatus");
    const QString sep = QLocale::system().decimalPoint();
    ASSERT_TRUE(WaitFor([&] { return status->text().startsWith(QStringLiteral("Połączono z : ")); }));
    EXPECT_EQ(status->text(), QStringLiteral("Połączono z : KARVO ver.1") + sep +
                                  QStringLiteral("04 (SYMULATOR)"));
    EXPECT_EQ(BackgroundOf(status), colour::LightGreen);

    auto* line = Find<QLabel>(w, "Label_Status");
    ASSERT_TRUE(WaitFor([&] { return line->text() == QStringLiteral("Odczyt pomiarów z urządzenia"); }));

    bench->SetAppliedForce(250.0);
    auto* value = Find<QLabel>(w, "DisplayTensVal");
    // The factory sensor constant (2.0 mV/V) is not the simulated sensor's (1.9876 mV/V):
    // 250 N applied reads 248 N until the sensor is calibrated.
    ASSERT_TRUE(WaitFor([&] { return value->text() == QStringLiteral("248 N"); }))
        << value->text().toStdString();

    // Unplugged: the device list empties, the link drops at once and the readout shows dashes.
    bench->SetPlugged(false);
    ASSERT_TRUE(WaitFor([&] { return !w.Link().State().Connected; }));
    ASSERT_TRUE(WaitFor([&] { return value->text().startsWith(QStringLiteral("---")); }));

    bench->SetPlugged(true);
    ASSERT_TRUE(WaitFor([&] { return status->text().startsWith(QStringLiteral("Połączono z : ")); }));
    ASSERT_TRUE(WaitFor([&] { return value->text() == QStringLiteral("248 N"); }));
}

}  // namespace
}  // namespace karvo
