#include "chart/chart_view.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <cstdlib>

namespace karvo {

namespace {
constexpr int kMinDrag = 4;  // pixels; a smaller drag is a click
}

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRubberBand(QChartView::NoRubberBand);
    setDragMode(QGraphicsView::NoDrag);
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        zooming_ = true;
        zoomOrigin_ = event->position().toPoint();
        if (band_ == nullptr) band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
        band_->setGeometry(QRect(zoomOrigin_, QSize()));
        band_->show();
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        panning_ = true;
        panLastX_ = event->position().toPoint().x();
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (zooming_) {
        band_->setGeometry(QRect(zoomOrigin_, pos).normalized());
        event->accept();
        return;
    }
    if (panning_) {
        const int dx = pos.x() - panLastX_;
        panLastX_ = pos.x();
        if (dx != 0 && chart() != nullptr) chart()->scroll(-dx, 0);
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (zooming_ && event->button() == Qt::LeftButton) {
        zooming_ = false;
        band_->hide();
        const QPoint d = pos - zoomOrigin_;
        if (std::abs(d.x()) >= kMinDrag && std::abs(d.y()) >= kMinDrag && chart() != nullptr) {
            if (d.x() > 0 && d.y() > 0) {
                const QRectF inView = QRectF(zoomOrigin_, pos);
                const QRectF inChart(
                    chart()->mapFromScene(mapToScene(inView.topLeft().toPoint())),
                    chart()->mapFromScene(mapToScene(inView.bottomRight().toPoint())));
                const QRectF area = inChart.intersected(chart()->plotArea());
                if (!area.isEmpty()) chart()->zoomIn(area);
            } else if (d.x() < 0 && d.y() < 0) {
                emit zoomUndone();
            }
        }
        event->accept();
        return;
    }
    if (panning_ && event->button() == Qt::RightButton) {
        panning_ = false;
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

}  // namespace karvo
