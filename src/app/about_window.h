// "O programie": program name, version, purpose and the maker.
#pragma once

#include <QDialog>

class QTextEdit;

namespace karvo {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    QTextEdit* info_;
};

}  // namespace karvo
