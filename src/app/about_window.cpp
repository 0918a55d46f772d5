#include "app/about_window.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>

#include "app/version.h"

namespace karvo {

namespace {
constexpr const char* kMakerName = "KARVO-PC project";
constexpr const char* kMakerSite = "https://karvo-pc.example.org";
constexpr const char* kMakerMail = "support@karvo-pc.example.org";

QPixmap Logo() {
    QPixmap p(89, 90);
    p.fill(Qt::white);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(0, 84, 147));
    g.setPen(Qt::NoPen);
    g.drawEllipse(QRectF(4, 5, 81, 81));
    g.setPen(Qt::white);
    QFont f("Calibri");
    f.setPixelSize(34);
    f.setBold(true);
    g.setFont(f);
    g.drawText(QRectF(4, 5, 81, 81), Qt::AlignCenter, QStringLiteral("K"));
    return p;
}
}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("O programie"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(476, 228);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    QFont font("MS Sans Serif");
    font.setPixelSize(11);
    setFont(font);

    QFont calibri("Calibri");
    calibri.setPixelSize(13);

    info_ = new QTextEdit(this);
    info_->setObjectName(QStringLiteral("Info"));
    info_->setReadOnly(true);
    info_->setFrameStyle(QFrame::NoFrame);
    info_->setFont(calibri);
    info_->setGeometry(8, 6, 461, 105);

    auto* logo = new QLabel(this);
    logo->setPixmap(Logo());
    logo->setGeometry(8, 128, 89, 90);

    const QString lines[] = {QString::fromUtf8(kMakerName),
                             QStringLiteral("site:     ") + QString::fromUtf8(kMakerSite),
                             QStringLiteral("email:  ") + QString::fromUtf8(kMakerMail)};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(lines[i], this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        l->setFont(calibri);
        l->setGeometry(112, 134 + i * 22, 260, 20);
    }

    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    close->setObjectName(QStringLiteral("BitBtn1"));
    close->setGeometry(380, 188, 85, 28);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void AboutWindow::FormShow() {
    // The text is shown once, however often the window is opened.
    info_->clear();
    info_->append(QStringLiteral("KARVO-PC wersja: ") + QString::fromUtf8(kVersion));
    info_->append(QStringLiteral(" "));
    info_->append(QStringLiteral(
        "Program KARVO-PC słuzy do konfiguracji wzmacniacza KARVO dla tensometrycznych "
        "czujników siły."));
    info_->append(QStringLiteral(" "));
    info_->append(QStringLiteral("Najnowsze wersje znajdziesz na:  ") +
                  QString::fromUtf8(kMakerSite));
}

}  // namespace karvo
