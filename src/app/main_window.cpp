#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "app/about_window.h"
#include "app/options.h"
#include "app/qt_util.h"
#include "app/recording_page.h"
#include "app/version.h"
#include "calibration/analog_calibration_window.h"
#include "calibration/sensor_calibration_window.h"
#include "chart/chart_page.h"
#include "hid/hid_backend.h"
#include "hid/hid_service.h"
#include "readout/big_display_window.h"
#include "readout/readout_page.h"
#include "settings/ini_file.h"
#include "settings/settings_page.h"

namespace karvo {

namespace {
constexpr int kClientWidth = 673;
constexpr int kClientHeight = 490;
constexpr int kTopPanelHeight = 47;
constexpr int kStatusStripHeight = 25;

QIcon Flag(bool polish) {
    QPixmap p(24, 16);
    QPainter g(&p);
    if (polish) {
        g.fillRect(0, 0, 24, 8, Qt::white);
        g.fillRect(0, 8, 24, 8, QColor(220, 20, 60));
    } else {
        g.fillRect(0, 0, 24, 16, QColor(1, 33, 105));
        g.setPen(QPen(Qt::white, 4));
        g.drawLine(0, 0, 24, 16);
        g.drawLine(24, 0, 0, 16);
        g.setPen(QPen(QColor(200, 16, 46), 2));
        g.drawLine(0, 0, 24, 16);
        g.drawLine(24, 0, 0, 16);
        g.fillRect(9, 0, 6, 16, Qt::white);
        g.fillRect(0, 5, 24, 6, Qt::white);
        g.fillRect(10, 0, 4, 16, QColor(200, 16, 46));
        g.fillRect(0, 6, 24, 4, QColor(200, 16, 46));
    }
    g.setPen(QColor(120, 120, 120));
    g.drawRect(0, 0, 23, 15);
    return QIcon(p);
}
}  // namespace

MainWindow::MainWindow(Dialogs* dialogs, const QString& optionsFilePath, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? dialogs : &qtDialogs_),
      optionsFilePath_(optionsFilePath),
      link_(*this, strings_, SystemNumberLocale()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("KARVO - KONFIGURATOR"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    central->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(central);
    BuildTopPanel(central);
    BuildPages(central);
    BuildStatusStrip(central);
    BuildMenu();

    displayData_ = new QTimer(this);
    displayData_->setObjectName(QStringLiteral("DisplayData"));
    displayData_->setInterval(50);
    connect(displayData_, &QTimer::timeout, this, &MainWindow::DisplayDataTimer);
    timerTimeout_ = new QTimer(this);
    timerTimeout_->setObjectName(QStringLiteral("TimerTimeout"));
    timerTimeout_->setInterval(200);
    connect(timerTimeout_, &QTimer::timeout, this, &MainWindow::TimerTimeoutTimer);

    FormCreate();

    displayData_->start();
    timerTimeout_->start();
    move(0, 0);
    adjustSize();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() {
    // Release the devices while the link they report to still exists.
    delete hid_;
    hid_ = nullptr;
}

void MainWindow::BuildTopPanel(QWidget* central) {
    auto* panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, kClientWidth, kTopPanelHeight);

    labelConnection_ = new QLabel(QStringLiteral("Status połączenia"), panel);
    labelConnection_->setObjectName(QStringLiteral("Label_ConnectionStatus"));
    labelConnection_->setGeometry(8, 0, 273, 18);
    labelConnection_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    connectionStatus_ = new QLineEdit(panel);
    connectionStatus_->setObjectName(QStringLiteral("ConnectionStatus"));
    connectionStatus_->setReadOnly(true);
    connectionStatus_->setFocusPolicy(Qt::NoFocus);
    connectionStatus_->setGeometry(8, 19, 273, 22);

    langCombo_ = new QComboBox(panel);
    langCombo_->setObjectName(QStringLiteral("siLangCombo1"));
    langCombo_->addItem(Flag(true), QStringLiteral("Polski"));
    langCombo_->addItem(Flag(false), QStringLiteral("English"));
    langCombo_->setCurrentIndex(0);
    langCombo_->setEnabled(false);
    langCombo_->setGeometry(460, 14, 110, 24);

    infoButton_ = new QPushButton(style()->standardIcon(QStyle::SP_MessageBoxInformation),
                                  QStringLiteral("Info"), panel);
    infoButton_->setObjectName(QStringLiteral("BitBtn3"));
    infoButton_->setGeometry(580, 10, 85, 30);
    connect(infoButton_, &QPushButton::clicked, this, &MainWindow::BitBtn3Click);
}

void MainWindow::BuildPages(QWidget* central) {
    pages_ = new QTabWidget(central);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setIconSize(QSize(32, 32));
    pages_->setGeometry(0, kTopPanelHeight, kClientWidth,
                        kClientHeight - kTopPanelHeight - kStatusStripHeight);
    struct PageDef {
        const char* name;
        const char* tab;
        QStyle::StandardPixmap icon;
    };
    const PageDef defs[] = {
        {"TabSheet_Reads", "Odczyty", QStyle::SP_ComputerIcon},
        {"TabSheet_Chart", "Wykres", QStyle::SP_FileDialogDetailedView},
        {"TabSheet_Acquisition", "Rejestracja", QStyle::SP_DialogSaveButton},
        {"TabSheet_Settings", "Ustawienia", QStyle::SP_FileDialogContentsView},
    };
    const auto setStatus = [this](const std::string& t) { SetStatusLine(t); };
    readout_ = new ReadoutPage(link_, shared_, setStatus, nullptr);
    chart_ = new ChartPage(link_, strings_, *dialogs_);
    recording_ = new RecordingPage(*dialogs_, [this](const std::string& p) { return StoreFileName(p); });
    settings_ = new SettingsPage(link_, shared_, *dialogs_, strings_, setStatus);
    QWidget* const widgets[] = {readout_, chart_, recording_, settings_};
    for (int i = 0; i < 4; ++i) {
        pages_->addTab(widgets[i], style()->standardIcon(defs[i].icon),
                       QString::fromUtf8(defs[i].tab));
    }
    readout_->SetConverterStatusBox(settings_->ADStatus());
    settings_->SetAnalogGroupCaptionHandler(
        [this](const QString& caption) { readout_->SetAnalogGroupCaption(caption); });
    settings_->SetOpenSensorCalibration([this] {
        if (formCalib_) {
            formCalib_->show();
            formCalib_->raise();
        }
    });
    settings_->SetOpenAnalogCalibration([this] {
        if (formAnCalib_) formAnCalib_->exec();
    });
    connect(pages_, &QTabWidget::currentChanged, this, [this](int) { link_.PageControl1Change(); });
}

void MainWindow::BuildStatusStrip(QWidget* central) {
    auto* strip = new QGroupBox(central);
    strip->setObjectName(QStringLiteral("GroupBox1"));
    strip->setGeometry(0, kClientHeight - kStatusStripHeight, kClientWidth, kStatusStripHeight);

    labelStatusTitle_ = new QLabel(QStringLiteral("Status:"), strip);
    labelStatusTitle_->setObjectName(QStringLiteral("Label_StatusTitle"));
    labelStatusTitle_->setGeometry(8, 4, 45, 17);

    labelStatus_ = new QLabel(QStringLiteral("..."), strip);
    labelStatus_->setObjectName(QStringLiteral("Label_Status"));
    labelStatus_->setGeometry(56, 4, 360, 17);

    auto* acqLabel = new QLabel(QStringLiteral("Rejestracja do pliku:"), strip);
    acqLabel->setObjectName(QStringLiteral("Label_Acquisition"));
    acqLabel->setGeometry(420, 4, 120, 17);
    acqLabel->setVisible(false);
    auto* acqStatus = new QLineEdit(QStringLiteral("NIEAKTYWNA"), strip);
    acqStatus->setObjectName(QStringLiteral("StatusBarAcquisition"));
    acqStatus->setReadOnly(true);
    acqStatus->setGeometry(545, 2, 120, 20);
    acqStatus->setVisible(false);
}

void MainWindow::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* settings = bar->addMenu(QStringLiteral("Ustawienia"));
    settings->setObjectName(QStringLiteral("Menu_Settings"));
    QAction* save = settings->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                        QStringLiteral("Zapisz do pliku"));
    save->setObjectName(QStringLiteral("SaveConfigFile"));
    connect(save, &QAction::triggered, this, [this] { settings_->SaveConfigFileClick(); });
    QAction* open = settings->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                        QStringLiteral("Odczytaj z pliku"));
    open->setObjectName(QStringLiteral("OpenConfigFile"));
    connect(open, &QAction::triggered, this, [this] { settings_->OpenConfigFileClick(); });
    QAction* factory = settings->addAction(style()->standardIcon(QStyle::SP_BrowserReload),
                                           QStringLiteral("Przywróc fabryczne"));
    factory->setObjectName(QStringLiteral("RestoreFactoryMenu"));
    factory->setVisible(false);

    QMenu* help = bar->addMenu(QStringLiteral("Pomoc"));
    help->setObjectName(QStringLiteral("Menu_Help"));
    help->addAction(QStringLiteral("O programie"));
    help->addAction(QStringLiteral("Opis sygnałów"));
    help->addAction(QStringLiteral("Opis komunikacji MODBUS"));
    help->menuAction()->setVisible(false);
}

void MainWindow::FormCreate() {
    link_.ShowNoConnection();
    setWindowTitle(QString::fromUtf8(kProgramName) + QString::fromUtf8(kCaptionSeparator) +
                   QString::fromUtf8(kVersion));
    if (optionsFilePath_.isEmpty()) optionsFilePath_ = DefaultOptionsFilePath();
    ReadOptions();
    siLangCombo1Change();
    settings_->FillModbusAddressList();
    chart_->ComboB_ChartSamplingChange();
    chart_->Cb_ChartTimeWindowChange();
    pages_->setTabVisible(1, false);
    pages_->setTabVisible(2, false);
}

void MainWindow::siLangCombo1Change() {
    for (const CaptionChange& c : localizer_.Apply(langCombo_->currentIndex() + 1)) ApplyCaption(c);
}

void MainWindow::ApplyCaption(const CaptionChange& change) {
    const QString name = ToQ(change.control);
    const QString text = ToQ(change.text);
    if (name.startsWith(QStringLiteral("tab:"))) {
        const QString page = name.mid(4);
        for (int i = 0; i < pages_->count(); ++i) {
            if (pages_->widget(i)->objectName() == page) pages_->setTabText(i, text);
        }
        return;
    }
    QWidget* w = findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    else if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
}

void MainWindow::SetConnectionText(const std::string& text) { connectionStatus_->setText(ToQ(text)); }

void MainWindow::SetConnectionColour(std::uint32_t c) { SetBackground(connectionStatus_, c); }

void MainWindow::SetConnectionToolTip(const std::string& text) {
    connectionStatus_->setToolTip(ToQ(text));
}

void MainWindow::SetStatusLine(const std::string& text) { labelStatus_->setText(ToQ(text)); }

void MainWindow::ShowSettings(const TDeviceSettingsRecord& s) { settings_->ShowSettings(s); }

void MainWindow::UpdateUnitLabels() { settings_->UpdateUnitLabels(); }

int MainWindow::MessageBox(const std::string& text, const std::string& caption, int flags) {
    return dialogs_->MessageBox(text, caption, flags);
}

int MainWindow::ActivePageIndex() const { return pages_->currentIndex(); }

void MainWindow::DisplayDataTimer() { readout_->DisplayDataTimer(); }

void MainWindow::SetBigDisplayWindow(BigDisplayWindow* w) {
    bigDisplay_ = w;
    readout_->SetBigDisplay(w);
}

void MainWindow::AttachHid(std::unique_ptr<HidBackend> backend) {
    delete hid_;
    hid_ = new HidService(link_, std::move(backend), this);
}

QString MainWindow::DefaultOptionsFilePath() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    // An installed program may sit in a folder the user cannot write: then the options live
    // in the per-user configuration folder.
    QTemporaryFile probe(exeDir + QStringLiteral("/.karvo-write-probe-XXXXXX"));
    if (probe.open()) return QDir(exeDir).filePath(QString::fromUtf8(kOptionsFileName));
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userDir);
    return QDir(userDir).filePath(QString::fromUtf8(kOptionsFileName));
}

void MainWindow::ReadOptions() {
    IniFile ini;
    ini.LoadFile(ToStd(optionsFilePath_));
    const AppOptions o = AppOptions::Read(ini);
    recording_->Restore(o);
    chart_->SetSeriesActive(o.ChartSeries5);
    chart_->SetTimeWindowIndex(o.TimeSize);
    chart_->SetSamplingIndex(o.Sampling);
    langCombo_->setCurrentIndex(Localizer::ListIndexForOption(o.Language));
}

bool MainWindow::StoreFileName(const std::string& path) {
    IniFile ini;
    if (ini.LoadFile(ToStd(optionsFilePath_)) == IniFile::LoadResult::Failed) return false;
    if (!ini.WriteString(kOptionsSection, "FileName", path)) return false;
    return ini.Save(ToStd(optionsFilePath_));
}

bool MainWindow::WriteOptions() {
    AppOptions o;
    recording_->Collect(o);
    o.ChartSeries5 = chart_->SeriesActive();
    o.TimeSize = chart_->TimeWindowIndex();
    o.Sampling = chart_->SamplingIndex();
    o.DecimalPoint = shared_.Decimals;
    o.Language = langCombo_->currentIndex();
    const std::string path = ToStd(optionsFilePath_);
    IniFile ini;
    std::string error;
    bool ok = ini.LoadFile(path, &error) != IniFile::LoadResult::Failed;
    if (ok) {
        o.WriteAtClosing(ini);
        ok = ini.Save(path, &error);
    }
    if (!ok && !optionsWriteFailed_) {
        optionsWriteFailed_ = true;
        dialogs_->MessageBox(error.empty() ? "Unable to write to " + path : error,
                             kApplicationTitle, 16);
    }
    return ok;
}

void MainWindow::BitBtn3Click() {
    if (about_) about_->exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // FormClose: the options are written; a failure is shown and the program closes all
    // the same. Nothing is sent to the amplifier.
    WriteOptions();
    event->accept();
    QCoreApplication::quit();
}

}  // namespace karvo
