// Texts drawn in their hosts' colours and italics: segment by segment with QPainter, so that a title that looks
// like markup is never handed to a rich-text engine.
#pragma once

#include "reference/gameentry.h"

#include <QColor>
#include <QFont>
#include <QStyledItemDelegate>
#include <QWidget>

#include <vector>

class QPainter;

namespace quintor::ui {

// The item data role of a cell's colour and italic runs (a QVariant of TextSpans, counted in the characters of the
// cell's display text). A cell without runs is drawn as any other.
inline constexpr int textSpansRole = Qt::UserRole + 100;

QVariant spansVariant(const TextSpans& spans);

// The relative luminance of a colour and the contrast ratio of two, by the WCAG formulas.
double relativeLuminance(const QColor& colour);
double contrastRatio(const QColor& first, const QColor& second);

// How far a host's colour must stand out from the background behind it.
inline constexpr double minimumContrast = 3.0;

// `colour` when its contrast against `background` is at least minimumContrast; otherwise the same hue darkened (on
// a light background) or lightened (on a dark one) just until it is, or as far as it goes.
QColor readableColour(const QColor& colour, const QColor& background);

struct StyledTextLook {
    QFont font;
    QColor textColour; // of the text outside the runs, and of all of it without hostColours
    QColor background; // what the runs' colours must stand out from
    bool hostColours = true;
};

// Draws `text` on one line in `rect`, from its left edge and centred vertically: the runs of `spans` in their own
// colours (made readable on the background) and italics, the rest in the look's colour. A text wider than the
// rectangle is cut and ends in "…".
void drawStyledText(QPainter& painter, const QRect& rect, const QString& text, const TextSpans& spans,
                    const StyledTextLook& look);

// An item delegate that draws cells with runs (textSpansRole) that way, on the item's usual background. A selected
// cell takes the palette's highlighted text colour throughout. Cells without runs are drawn as by its base.
class StyledTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Lines of plain text, some of them with runs, in the window's text colour on its background; each line is cut
// with "…" where the widget ends.
class StyledLinesView : public QWidget {
    Q_OBJECT
public:
    struct Line {
        QString text;
        TextSpans spans;
    };

    explicit StyledLinesView(QWidget* parent = nullptr);

    void setLines(std::vector<Line> lines);
    const std::vector<Line>& lines() const { return lines_; }
    // The lines joined by line breaks, as they read.
    QString text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Line> lines_;
};

} // namespace quintor::ui
