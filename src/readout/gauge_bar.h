// A horizontal bar gauge in the manner of the classic sample gauge: white face, a solid bar
// in one colour and, when asked for, the percentage drawn over it (inverted on the bar).
#pragma once

#include <QProgressBar>
#include <cstdint>

namespace karvo {

class GaugeBar : public QProgressBar {
    Q_OBJECT
  public:
    GaugeBar(int maximum, std::uint32_t barColour, bool showText, QWidget* parent = nullptr);

    std::uint32_t BarColour() const { return barColour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::uint32_t barColour_;
};

}  // namespace karvo
