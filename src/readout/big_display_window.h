// FormBigDisplay: the large readout window. A passive display of value, minimum and maximum
// in big digits, written by the readout on every live tick whether shown or not.
#pragma once

#include <QWidget>

class QLabel;

namespace karvo {

class FitLabel;

class BigDisplayWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BigDisplayWindow(QWidget* parent = nullptr);

    void SetValueText(const QString& text);    // LED_display
    void SetMinimumText(const QString& text);  // DispMin
    void SetMaximumText(const QString& text);  // DispMax
    QString ValueText() const;
    QString MinimumText() const;
    QString MaximumText() const;

    // "Duże okno": show non-modally, or only bring forward when already shown. Closing the
    // window only hides it: it is never destroyed before the program ends.
    void ShowAndRaise();

  private:
    FitLabel* value_ = nullptr;
    FitLabel* minimum_ = nullptr;
    FitLabel* maximum_ = nullptr;
};

}  // namespace karvo
