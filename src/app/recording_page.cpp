#include "app/recording_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/options.h"
#include "app/qt_util.h"

namespace karvo {

namespace {
QCheckBox* Check(const char* name, const char* text, QWidget* parent, int x, int y) {
    auto* c = new QCheckBox(QString::fromUtf8(text), parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setGeometry(x, y, 150, 20);
    return c;
}

void SelectIndex(QComboBox* list, long long index) {
    list->blockSignals(true);
    list->setCurrentIndex(index >= 0 && index < list->count() ? static_cast<int>(index) : -1);
    list->blockSignals(false);
}
}  // namespace

RecordingPage::RecordingPage(Dialogs& dialogs, std::function<bool(const std::string&)> store,
                             QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), storeFileName_(std::move(store)) {
    setObjectName(QStringLiteral("TabSheet_Acquisition"));

    acquisition_ = Check("Checkbox_Acquistion", "Aktywuj rejestracje", this, 16, 16);
    connect(acquisition_, &QCheckBox::clicked, this, &RecordingPage::Checkbox_AcquistionClick);

    auto* status = new QLineEdit(QStringLiteral("NIEAKTYWNA"), this);
    status->setObjectName(QStringLiteral("AcquisitionStatus"));
    status->setReadOnly(true);
    status->setGeometry(180, 14, 120, 22);

    auto* speedLabel = new QLabel(QStringLiteral("Częstotliwość rejestracji"), this);
    speedLabel->setGeometry(16, 52, 160, 18);
    speed_ = new QComboBox(this);
    speed_->setObjectName(QStringLiteral("ComboBox_AcquistionTime"));
    speed_->addItems({QStringLiteral("100 / s."), QStringLiteral("50 / s."),
                      QStringLiteral("25 / s."), QStringLiteral("10 / s."),
                      QStringLiteral("1 / s."), QStringLiteral("10 / min."),
                      QStringLiteral("1 / min")});
    speed_->setCurrentIndex(2);
    speed_->setToolTip(QStringLiteral(
        "Prędkosć zapisu pomiarow do pliku. Maksymalnie 100 pomiarow/sekunde, minimalnie "
        "1/godzine."));
    speed_->setGeometry(180, 50, 120, 22);

    auto* group = new QGroupBox(QStringLiteral("Rejestruj do pliku:"), this);
    group->setGeometry(16, 88, 300, 130);
    saveDate_ = Check("Checkbox_SaveDate", "Data", group, 12, 22);
    saveTime_ = Check("Checkbox_SaveTime", "Godzina", group, 12, 48);
    saveCnt_ = Check("Checkbox_SaveDataCnt", "Lp.", group, 12, 74);
    saveSummary_ = Check("Cb_SaveDataSummary", "Wartość aktualna", group, 12, 100);

    fileName_ = new QLineEdit(QStringLiteral("Sciezka zapisu"), this);
    fileName_->setObjectName(QStringLiteral("Edit_FileName"));
    fileName_->setReadOnly(true);
    fileName_->setGeometry(16, 236, 460, 24);

    pathButton_ = new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                  QStringLiteral("Scieżka zapisu"), this);
    pathButton_->setObjectName(QStringLiteral("Button_SaveFilePath"));
    pathButton_->setGeometry(486, 234, 150, 28);
    connect(pathButton_, &QPushButton::clicked, this, &RecordingPage::save);
}

void RecordingPage::Restore(const AppOptions& o) {
    if (acquisition_->isChecked() != o.Checkbox_DataAcquistion) {
        acquisition_->setChecked(o.Checkbox_DataAcquistion);
        Checkbox_AcquistionClick();
    }
    SelectIndex(speed_, o.DataAcquistionSpeed);
    fileName_->setText(ToQ(o.FileName));
    saveDate_->setChecked(o.SaveDate);
    saveTime_->setChecked(o.SaveTime);
    saveCnt_->setChecked(o.SaveDataCnt);
    saveSummary_->setChecked(o.SaveDataSummary);
}

void RecordingPage::Collect(AppOptions& o) const {
    o.Checkbox_DataAcquistion = acquisition_->isChecked();
    o.DataAcquistionSpeed = speed_->currentIndex();
    o.SaveDate = saveDate_->isChecked();
    o.SaveTime = saveTime_->isChecked();
    o.SaveDataCnt = saveCnt_->isChecked();
    o.SaveDataSummary = saveSummary_->isChecked();
}

void RecordingPage::Checkbox_AcquistionClick() {
    pathButton_->setEnabled(!acquisition_->isChecked());
}

void RecordingPage::save() {
    FileDialogRequest request;
    request.filter = "CSV|*.csv|TXT|*.txt";
    const auto chosen = dialogs_.SaveFileName(request);
    if (!chosen) return;
    fileName_->setText(ToQ(*chosen));
    fileName_->setText(ToQ(RecordingFileName(*chosen)));
    // A failed store leaves the new path shown with nothing stored, without a message.
    if (storeFileName_) (void)storeFileName_(ToStd(fileName_->text()));
}

}  // namespace karvo
