// Small bridges between the core's types and Qt's.
#pragma once

#include <QColor>
#include <QLocale>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

#include "readout/number_format.h"

namespace karvo {

inline QString ToQ(const std::string& s) { return QString::fromStdString(s); }
inline std::string ToStd(const QString& s) { return s.toStdString(); }

// Windows colour value 0x00BBGGRR.
inline QColor WinColour(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

// Background of an edit box or label; colour::Window restores the normal look.
inline void SetBackground(QWidget* w, std::uint32_t c) {
    QPalette p = w->palette();
    if (c == 0xFFFFFFFFu) {
        p.setColor(QPalette::Base, QPalette().color(QPalette::Base));
        p.setColor(QPalette::Window, QPalette().color(QPalette::Window));
        w->setAutoFillBackground(false);
    } else {
        p.setColor(QPalette::Base, WinColour(c));
        p.setColor(QPalette::Window, WinColour(c));
        w->setAutoFillBackground(true);
    }
    w->setPalette(p);
    w->setProperty("karvoColour", static_cast<qulonglong>(c));
}

inline void SetTextColour(QWidget* w, std::uint32_t c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, WinColour(c));
    p.setColor(QPalette::WindowText, WinColour(c));
    w->setPalette(p);
    w->setProperty("karvoTextColour", static_cast<qulonglong>(c));
}

// The colour value last set with SetBackground (colour::Window when never set).
inline std::uint32_t BackgroundOf(const QWidget* w) {
    const QVariant v = w->property("karvoColour");
    return v.isValid() ? static_cast<std::uint32_t>(v.toULongLong()) : 0xFFFFFFFFu;
}

inline NumberLocale SystemNumberLocale() {
    const QLocale l = QLocale::system();
    return NumberLocale{ToStd(l.decimalPoint()), ToStd(l.groupSeparator())};
}

}  // namespace karvo
