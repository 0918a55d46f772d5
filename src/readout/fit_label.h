// A label for large digits: drawn in its own font, or smaller when the text would not fit
// its box, so a long value is never cut off. Labels joined with FitTogether are drawn at one
// size, the largest at which all of their texts fit.
#pragma once

#include <QLabel>
#include <vector>

namespace karvo {

class FitLabel : public QLabel {
    Q_OBJECT
  public:
    // `sample` is the text the label is sized for ("00000.0").
    FitLabel(const QString& text, const QFont& font, const QString& sample,
             QWidget* parent = nullptr);
    ~FitLabel() override;

    // Hides QLabel::setText so the drawn size follows every change of text.
    void setText(const QString& text);

    static void FitTogether(const std::vector<FitLabel*>& labels);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The pixel size the text is drawn at now.
    int DrawnPixelSize() const { return drawnPx_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int BasePixelSize() const;
    int OwnFit() const;  // the largest size up to the font's own at which the text fits
    void Refit();        // this label and its companions

    QString sample_;
    int drawnPx_ = 0;
    QString fittedText_;
    std::vector<FitLabel*> companions_;
};

}  // namespace karvo
