// The chart's view with its two mouse gestures: the left button dragged from upper left
// to lower right zooms into the rectangle (dragged the other way it undoes the zoom), the
// right button dragged moves the chart left or right.
#pragma once

#include <QChartView>
#include <QPoint>

class QRubberBand;

namespace karvo {

class ChartView : public QChartView {
    Q_OBJECT
  public:
    explicit ChartView(QChart* chart, QWidget* parent = nullptr);

  signals:
    // A zoom rectangle dragged from lower right to upper left: back to the unzoomed axes.
    void zoomUndone();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QRubberBand* band_ = nullptr;
    QPoint zoomOrigin_;
    bool zooming_ = false;
    bool panning_ = false;
    int panLastX_ = 0;
};

}  // namespace karvo
