#include "ui/platform/elidinglabel.h"

#include "ui/platform/text.h"

#include <QPainter>
#include <QStyle>

namespace quintor::ui {

ElidingLabel::ElidingLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidingLabel::setWholeText(const QString& text)
{
    setPlainText(*this, text);
    updateToolTip();
}

QString ElidingLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QSize ElidingLabel::minimumSizeHint() const
{
    return {fontMetrics().averageCharWidth() * 4, QLabel::minimumSizeHint().height()};
}

void ElidingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, palette(),
                          isEnabled(), shownText(), foregroundRole());
}

void ElidingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void ElidingLabel::updateToolTip()
{
    setToolTip(shownText() == text() ? QString() : plainToolTip(text()));
}

} // namespace quintor::ui
