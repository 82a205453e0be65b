// A one-line label for a text that may be longer than the room it has (the status bar's, which holds a
// server's address or an error): it ends with "…" where the room ends, and then shows the whole text as its
// tooltip.
#pragma once

#include <QLabel>

namespace quintor::ui {

// Shows its text as it stands. Its text() stays whole; only what is painted is shortened. It asks for no more
// width than a few letters, so a long text never widens the window that holds it.
class ElidingLabel : public QLabel {
public:
    explicit ElidingLabel(QWidget* parent);

    // Sets the text and, when it does not fit, the tooltip that shows it whole.
    void setWholeText(const QString& text);
    // The text as painted at the label's present width.
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateToolTip();
};

} // namespace quintor::ui
