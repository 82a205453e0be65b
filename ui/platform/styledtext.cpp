#include "ui/platform/styledtext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace quintor::ui {
namespace {

double linearChannel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// A background darker than this is one that white stands out from better than black.
const double darkBackgroundLuminance = std::sqrt(0.0525) - 0.05;

// `colour` moved a share `t` of the way to black (`lighten` off) or to white, each channel alike: the hue stays.
QColor movedTowards(const QColor& colour, double t, bool lighten)
{
    const auto move = [&](int c) {
        const double target = lighten ? 255.0 : 0.0;
        return static_cast<int>(std::lround(c + (target - c) * t));
    };
    return QColor(move(colour.red()), move(colour.green()), move(colour.blue()));
}

struct Segment {
    int from = 0, to = 0;
    QColor colour;
    bool italic = false;
};

// The text cut into the stretches of its runs and the plain stretches between them. Runs are clipped to the text.
std::vector<Segment> segmentsOf(int length, const TextSpans& spans, const StyledTextLook& look)
{
    std::vector<Segment> segments;
    int at = 0;
    for (const TextSpan& span : spans) {
        const int from = static_cast<int>(std::min<std::uint32_t>(span.start, static_cast<std::uint32_t>(length)));
        const int to = static_cast<int>(
            std::min<std::uint64_t>(std::uint64_t{span.start} + span.length, static_cast<std::uint64_t>(length)));
        if (from < at || from >= to) continue; // runs are sorted and apart; anything else is drawn plain
        if (from > at) segments.push_back({at, from, look.textColour, false});
        QColor colour = look.textColour;
        if (look.hostColours && span.rgb) {
            colour = readableColour(QColor::fromRgb(static_cast<QRgb>(*span.rgb & 0xFFFFFFu)), look.background);
        }
        segments.push_back({from, to, colour, span.italic});
        at = to;
    }
    if (at < length) segments.push_back({at, length, look.textColour, false});
    return segments;
}

// The longest start of `part` that is at most `room` wide.
int fittingLength(const QFontMetrics& metrics, const QString& part, int room)
{
    int low = 0, high = static_cast<int>(part.size());
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(part.left(middle)) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

} // namespace

QVariant spansVariant(const TextSpans& spans)
{
    return QVariant::fromValue(spans);
}

double relativeLuminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linearChannel(rgb.red()) + 0.7152 * linearChannel(rgb.green()) + 0.0722 * linearChannel(rgb.blue());
}

double contrastRatio(const QColor& first, const QColor& second)
{
    const double a = relativeLuminance(first), b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor readableColour(const QColor& colour, const QColor& background)
{
    const QColor rgb = colour.toRgb();
    if (contrastRatio(rgb, background) >= minimumContrast) return rgb;
    const bool lighten = relativeLuminance(background) < darkBackgroundLuminance;
    // The further the colour moves, the more it stands out once past the background: the least move that is enough.
    double enough = 1.0, tooLittle = 0.0;
    for (int step = 0; step < 20; ++step) {
        const double middle = (enough + tooLittle) / 2;
        if (contrastRatio(movedTowards(rgb, middle, lighten), background) >= minimumContrast)
            enough = middle;
        else
            tooLittle = middle;
    }
    return movedTowards(rgb, enough, lighten);
}

void drawStyledText(QPainter& painter, const QRect& rect, const QString& text, const TextSpans& spans,
                    const StyledTextLook& look)
{
    QFont italicFont = look.font;
    italicFont.setItalic(true);
    const QFontMetrics plainMetrics(look.font, painter.device()), italicMetrics(italicFont, painter.device());
    const std::vector<Segment> segments = segmentsOf(static_cast<int>(text.size()), spans, look);

    int total = 0;
    for (const Segment& segment : segments) {
        total += (segment.italic ? italicMetrics : plainMetrics)
                     .horizontalAdvance(text.mid(segment.from, segment.to - segment.from));
    }
    const bool cut = total > rect.width();
    const QString ellipsis(QChar(0x2026));

    painter.save();
    int x = rect.left();
    const int end = rect.left() + rect.width();
    for (const Segment& segment : segments) {
        const QFontMetrics& metrics = segment.italic ? italicMetrics : plainMetrics;
        QString part = text.mid(segment.from, segment.to - segment.from);
        int width = metrics.horizontalAdvance(part);
        const bool last = cut && x + width > end - metrics.horizontalAdvance(ellipsis);
        if (last) {
            part = part.left(fittingLength(metrics, part, end - x - metrics.horizontalAdvance(ellipsis))) + ellipsis;
            width = metrics.horizontalAdvance(part);
        }
        painter.setFont(segment.italic ? italicFont : look.font);
        painter.setPen(segment.colour);
        painter.drawText(QRect(x, rect.top(), std::max(width, end - x), rect.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part);
        x += width;
        if (last) break;
    }
    painter.restore();
}

void StyledTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant runs = index.data(textSpansRole);
    const auto* spans =
        runs.metaType() == QMetaType::fromType<TextSpans>() ? static_cast<const TextSpans*>(runs.constData()) : nullptr;
    if (!spans || spans->empty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // The item as the style draws it (background, selection, focus), without its text; the text where it would be.
    QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const QString text = item.text;
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    textRect.adjust(margin, 0, -margin, 0);

    const bool selected = item.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    QColor background = item.palette.color(
        group, item.features & QStyleOptionViewItem::Alternate ? QPalette::AlternateBase : QPalette::Base);
    if (item.backgroundBrush.style() != Qt::NoBrush) background = item.backgroundBrush.color();
    const StyledTextLook look{item.font,
                              item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text),
                              background, !selected};
    painter->save();
    painter->setClipRect(textRect);
    drawStyledText(*painter, textRect, text, *spans, look);
    painter->restore();
}

StyledLinesView::StyledLinesView(QWidget* parent) : QWidget(parent) {}

void StyledLinesView::setLines(std::vector<Line> lines)
{
    lines_ = std::move(lines);
    updateGeometry();
    update();
}

QString StyledLinesView::text() const
{
    QStringList texts;
    for (const Line& line : lines_)
        texts << line.text;
    return texts.join(QLatin1Char('\n'));
}

QSize StyledLinesView::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = 0;
    for (const Line& line : lines_)
        width = std::max(width, metrics.horizontalAdvance(line.text));
    return {width, metrics.lineSpacing() * static_cast<int>(lines_.size())};
}

QSize StyledLinesView::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void StyledLinesView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const StyledTextLook look{font(), palette().color(QPalette::WindowText), palette().color(QPalette::Window), true};
    int y = 0;
    for (const Line& line : lines_) {
        drawStyledText(painter, QRect(0, y, width(), metrics.lineSpacing()), line.text, line.spans, look);
        y += metrics.lineSpacing();
    }
}

} // namespace quintor::ui
