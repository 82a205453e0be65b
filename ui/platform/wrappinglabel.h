// A label for a text that may hold a word wider than the room it has (an address, a title of one long run of
// letters): it wraps at word boundaries and, where a word does not fit, inside it.
#pragma once

#include <QLabel>

#include <memory>

class QTextDocument;

namespace quintor::ui {

// Shows its text as it stands (make it through setPlainText). A plain wrapping label leaves a long word
// whole: it either widens whatever holds it or, where a maximum width stops it, cuts the word and the lines
// after it off.
class WrappingLabel : public QLabel {
public:
    explicit WrappingLabel(QWidget* parent);

    int heightForWidth(int width) const override;
    // As narrow as a few letters; as high as one line, as a wrapping label is: the layout asks
    // heightForWidth for the width it gives.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::unique_ptr<QTextDocument> layOut(int width) const;
};

} // namespace quintor::ui
