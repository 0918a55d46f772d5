#include "readout/gauge_bar.h"

#include <QPainter>
#include <algorithm>

#include "app/qt_util.h"

namespace karvo {

GaugeBar::GaugeBar(int maximum, std::uint32_t barColour, bool showText, QWidget* parent)
    : QProgressBar(parent), barColour_(barColour) {
    setRange(0, maximum);
    setValue(0);
    setTextVisible(showText);
    setFormat(QStringLiteral("%p%"));
    setProperty("karvoBarColour", static_cast<qulonglong>(barColour));
}

void GaugeBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect outer = rect();
    p.fillRect(outer, palette().color(QPalette::Mid));
    const QRect face = outer.adjusted(1, 1, -1, -1);
    p.fillRect(face, Qt::white);

    const int span = maximum() - minimum();
    const double part = span > 0 ? double(value() - minimum()) / span : 0.0;
    const int filled = static_cast<int>(face.width() * std::clamp(part, 0.0, 1.0) + 0.5);
    const QRect bar(face.left(), face.top(), filled, face.height());
    const QColor barColour = WinColour(barColour_);
    if (filled > 0) p.fillRect(bar, barColour);

    if (isTextVisible()) {
        const QString t = text();
        p.setPen(Qt::black);
        p.drawText(face, Qt::AlignCenter, t);
        if (filled > 0) {
            p.setClipRect(bar);
            p.setPen(barColour.lightness() < 128 ? Qt::white : Qt::black);
            p.drawText(face, Qt::AlignCenter, t);
        }
    }
}

}  // namespace karvo
