// TabSheet_Acquisition: the recording options. Its tab is hidden; nothing is recorded, the
// choices only pass from one run to the next through the options file.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "app/dialogs.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace karvo {

struct AppOptions;

class RecordingPage : public QWidget {
    Q_OBJECT
public:
    // `storeFileName` writes FileName into the options file at once; it may fail.
    RecordingPage(Dialogs& dialogs, std::function<bool(const std::string&)> storeFileName,
                  QWidget* parent = nullptr);

    // Sets the controls from the options; a check box whose state changes runs its click
    // handler, list selections run none.
    void Restore(const AppOptions& options);
    // Copies the controls' state into the options.
    void Collect(AppOptions& options) const;

    void Checkbox_AcquistionClick();
    void save();

private:
    Dialogs& dialogs_;
    std::function<bool(const std::string&)> storeFileName_;
    QCheckBox* acquisition_;
    QComboBox* speed_;
    QCheckBox* saveDate_;
    QCheckBox* saveTime_;
    QCheckBox* saveCnt_;
    QCheckBox* saveSummary_;
    QLineEdit* fileName_;
    QPushButton* pathButton_;
};

}  // namespace karvo
