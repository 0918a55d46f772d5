// The read-only text box of a StatusIndicator and how a face is put into it.
#pragma once

#include <QLineEdit>
#include <QString>

#include "readout/status_indicator.h"

namespace karvo {

// A read-only, centred one-line box of `width` x 23 px in Arial bold 12 px, showing
// `initial` on the ordinary box colour until it is first set.
QLineEdit* MakeStatusIndicatorBox(const QString& objectName, const QString& initial, int width,
                                  QWidget* parent);

// Sets text and background together.
void ShowIndicator(QLineEdit* box, const IndicatorFace& face);

}  // namespace karvo
