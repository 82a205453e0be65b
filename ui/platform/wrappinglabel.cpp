#include "ui/platform/wrappinglabel.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

#include <cmath>

namespace quintor::ui {

WrappingLabel::WrappingLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

int WrappingLabel::heightForWidth(int width) const
{
    return static_cast<int>(std::ceil(layOut(width)->size().height()));
}

QSize WrappingLabel::minimumSizeHint() const
{
    return {fontMetrics().averageCharWidth() * 4, heightForWidth(QWIDGETSIZE_MAX)};
}

QSize WrappingLabel::sizeHint() const
{
    const int width = QLabel::sizeHint().width();
    return {width, heightForWidth(width)};
}

void WrappingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, palette().color(foregroundRole()));
    layOut(width())->documentLayout()->draw(&painter, context);
}

std::unique_ptr<QTextDocument> WrappingLabel::layOut(int width) const
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font());
    document->setDocumentMargin(0);
    QTextOption option(alignment());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    document->setPlainText(text());
    document->setTextWidth(width);
    return document;
}

} // namespace quintor::ui
