#include "readout/fit_label.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace karvo {

namespace {
constexpr int kSmallestPixelSize = 6;
}

FitLabel::FitLabel(const QString& text, const QFont& font, const QString& sample, QWidget* parent)
    : QLabel(text, parent), sample_(sample) {
    setFont(font);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    drawnPx_ = BasePixelSize();
}

FitLabel::~FitLabel() {
    for (FitLabel* c : companions_) {
        auto& list = c->companions_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void FitLabel::setText(const QString& text) {
    if (text == QLabel::text()) return;
    QLabel::setText(text);
    Refit();
}

void FitLabel::FitTogether(const std::vector<FitLabel*>& labels) {
    for (FitLabel* l : labels) {
        l->companions_.clear();
        for (FitLabel* other : labels) {
            if (other != l) l->companions_.push_back(other);
        }
    }
    if (!labels.empty()) labels.front()->Refit();
}

QSize FitLabel::sizeHint() const {
    const QFontMetrics fm(font());
    const QMargins m = contentsMargins();
    return QSize(fm.horizontalAdvance(sample_) + m.left() + m.right() + 2 * margin(),
                 fm.height() + m.top() + m.bottom() + 2 * margin());
}

QSize FitLabel::minimumSizeHint() const { return sizeHint(); }

int FitLabel::BasePixelSize() const {
    const QFont f = font();
    return f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
}

int FitLabel::OwnFit() const {
    const int base = BasePixelSize();
    const int room = contentsRect().width() - 2 * margin();
    const QString t = text();
    if (t.isEmpty() || room <= 0) return base;
    QFont f = font();
    const int width = QFontMetrics(f).horizontalAdvance(t);
    if (width <= room) return base;
    int px = std::max(kSmallestPixelSize, static_cast<int>(base * double(room) / width));
    f.setPixelSize(px);
    while (px > kSmallestPixelSize && QFontMetrics(f).horizontalAdvance(t) > room) {
        f.setPixelSize(--px);
    }
    return px;
}

void FitLabel::Refit() {
    int px = OwnFit();
    for (const FitLabel* c : companions_) px = std::min(px, c->OwnFit());
    for (FitLabel* l : companions_) {
        if (l->drawnPx_ != px) {
            l->drawnPx_ = px;
            l->update();
        }
    }
    drawnPx_ = px;
    fittedText_ = text();
    update();
}

void FitLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Refit();
}

void FitLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) Refit();
}

void FitLabel::paintEvent(QPaintEvent*) {
    if (text() != fittedText_) Refit();  // set through QLabel::setText
    QPainter p(this);
    QFont f = font();
    f.setPixelSize(drawnPx_ > 0 ? drawnPx_ : BasePixelSize());
    p.setFont(f);
    p.setPen(palette().color(foregroundRole()));
    const QRect box = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    p.drawText(box, static_cast<int>(alignment()), text());
}

}  // namespace karvo
