#include "readout/big_display_window.h"

#include <QFrame>
#include <QLabel>

#include "app/qt_util.h"
#include "readout/fit_label.h"

namespace karvo {

namespace {

constexpr std::uint32_t kDigitsBackground = 11228430;  // dark blue
constexpr std::uint32_t kDigitsColour = 42495;         // orange

QFont Arial(int px) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px);
    f.setBold(true);
    return f;
}

// A caption bar in the look of a navigation panel header: a blue gradient with white text.
QLabel* HeaderBar(const QString& name, const QString& text, const QRect& geometry,
                  QWidget* parent) {
    auto* bar = new QLabel(text, parent);
    bar->setObjectName(name);
    bar->setGeometry(geometry);
    bar->setAlignment(Qt::AlignCenter);
    bar->setFont(Arial(16));
    bar->setStyleSheet(
        QStringLiteral("QLabel { color: white; border: 1px solid #002d73;"
                       " background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 #5b8fdc, stop:1 #0a3d91); }"));
    return bar;
}

FitLabel* Digits(const QString& name, int px, const QString& sample, const QRect& geometry,
                 QWidget* parent) {
    auto* label = new FitLabel(QStringLiteral("00.0"), Arial(px), sample, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMargin(4);
    SetBackground(label, kDigitsBackground);
    SetTextColour(label, kDigitsColour);
    return label;
}

}  // namespace

BigDisplayWindow::BigDisplayWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormBigDisplay"));
    setWindowTitle(QStringLiteral("KARVP wartosc pomiaru"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(1159, 291);
    move(218, 229);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel_BigDisplay"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(8, 8, 1145, 273);

    HeaderBar(QStringLiteral("Label_ActualVal"), QStringLiteral("Wartość pomiaru"),
              QRect(8, 4, 1129, 25), panel);
    value_ = Digits(QStringLiteral("LED_display"), 187, QStringLiteral("00.0"),
                    QRect(9, 35, 769, 214), panel);
    HeaderBar(QStringLiteral("JvNavPanelHeader2"), QStringLiteral("Max:"), QRect(784, 32, 81, 97),
              panel);
    maximum_ = Digits(QStringLiteral("DispMax"), 64, QStringLiteral("00.0"),
                      QRect(864, 32, 273, 97), panel);
    HeaderBar(QStringLiteral("JvNavPanelHeader1"), QStringLiteral("Min:"), QRect(784, 152, 81, 97),
              panel);
    minimum_ = Digits(QStringLiteral("DispMin"), 64, QStringLiteral("00.0"),
                      QRect(864, 152, 273, 97), panel);
    FitLabel::FitTogether({maximum_, minimum_});
}

void BigDisplayWindow::SetValueText(const QString& text) { value_->setText(text); }
void BigDisplayWindow::SetMinimumText(const QString& text) { minimum_->setText(text); }
void BigDisplayWindow::SetMaximumText(const QString& text) { maximum_->setText(text); }
QString BigDisplayWindow::ValueText() const { return value_->text(); }
QString BigDisplayWindow::MinimumText() const { return minimum_->text(); }
QString BigDisplayWindow::MaximumText() const { return maximum_->text(); }

void BigDisplayWindow::ShowAndRaise() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

}  // namespace karvo
