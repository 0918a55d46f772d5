#include "readout/status_indicator_box.h"

#include "app/qt_util.h"

namespace karvo {

QLineEdit* MakeStatusIndicatorBox(const QString& objectName, const QString& initial, int width,
                                  QWidget* parent) {
    auto* box = new QLineEdit(initial, parent);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    f.setBold(true);
    box->setFont(f);
    box->setFixedSize(width, 23);
    box->setTextMargins(0, 0, 0, 0);
    return box;
}

void ShowIndicator(QLineEdit* box, const IndicatorFace& face) {
    if (box == nullptr) return;
    box->setText(ToQ(face.text));
    SetBackground(box, face.colour);
}

}  // namespace karvo
