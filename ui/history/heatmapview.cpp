#include "ui/history/heatmapview.h"
#include "settings/translate.h"

#include "ui/platform/text.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quintor::ui {
namespace {

constexpr int hoursPerDay = 24;
constexpr int daysPerWeek = 7;
constexpr int gap = 6;

// Pale yellow over orange to dark red, as the colour scale shows it.
constexpr std::array<QRgb, 3> scaleStops{qRgb(255, 237, 160), qRgb(253, 141, 60), qRgb(189, 0, 38)};

QColor blend(QRgb from, QRgb to, double share)
{
    const auto mix = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(mix(qRed(from), qRed(to)), mix(qGreen(from), qGreen(to)), mix(qBlue(from), qBlue(to)));
}

double shareOf(double players, double highest)
{
    return highest > 0 ? std::clamp(players / highest, 0.0, 1.0) : 0.0;
}

} // namespace

HeatMapView::HeatMapView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("heatMap"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void HeatMapView::setMap(const WeekHeatMap& map)
{
    map_ = map;
    update();
}

QColor HeatMapView::cellColour(std::optional<double> players, double highest)
{
    if (!players) return Qt::white;
    const double share = shareOf(*players, highest);
    return share < 0.5 ? blend(scaleStops[0], scaleStops[1], share * 2)
                       : blend(scaleStops[1], scaleStops[2], share * 2 - 1);
}

int HeatMapView::nameColumnWidth() const
{
    int widest = 0;
    for (int weekday = 0; weekday < daysPerWeek; ++weekday)
        widest = std::max(widest, fontMetrics().horizontalAdvance(toQt(translateText(weekdayName(weekday)))));
    return widest + gap;
}

int HeatMapView::headerHeight() const
{
    return fontMetrics().height() + 2;
}

int HeatMapView::scaleHeight() const
{
    return gap * 2 + 12 + fontMetrics().height(); // gap, bar, labels, gap
}

QSize HeatMapView::sizeHint() const
{
    return {nameColumnWidth() + hoursPerDay * 30, headerHeight() + daysPerWeek * 30 + scaleHeight()};
}

QSize HeatMapView::minimumSizeHint() const
{
    return {nameColumnWidth() + hoursPerDay * 14, headerHeight() + daysPerWeek * 14 + scaleHeight()};
}

QRect HeatMapView::cellRect(int weekday, int hour) const
{
    const int left = nameColumnWidth();
    const int top = headerHeight();
    const int cellWidth = std::max(1, (width() - left - 1) / hoursPerDay);
    const int cellHeight = std::max(1, (height() - top - scaleHeight() - 1) / daysPerWeek);
    return {left + hour * cellWidth, top + weekday * cellHeight, cellWidth, cellHeight};
}

void HeatMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const double highest = map_.highest();
    const QColor grid(200, 200, 200);

    for (int hour = 0; hour < hoursPerDay; hour += 1) {
        const QRect cell = cellRect(0, hour);
        // Every hour when there is room for its number, else every third.
        if (cell.width() < fontMetrics().horizontalAdvance(QStringLiteral("00")) + 2 && hour % 3 != 0) continue;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(cell.left(), 0, cell.width(), headerHeight()), Qt::AlignCenter, QString::number(hour));
    }
    for (int weekday = 0; weekday < daysPerWeek; ++weekday) {
        const QRect first = cellRect(weekday, 0);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(0, first.top(), nameColumnWidth() - gap, first.height()),
                         Qt::AlignRight | Qt::AlignVCenter, toQt(translateText(weekdayName(weekday))));
        for (int hour = 0; hour < hoursPerDay; ++hour) {
            const QRect cell = cellRect(weekday, hour);
            const auto& players =
                map_.averagePlayers[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)];
            painter.fillRect(cell, cellColour(players, highest));
            painter.setPen(grid);
            painter.drawRect(cell);
            if (!players) continue;
            // The rounded figure where it fits, dark on the pale cells and light on the dark ones.
            const QString figure = QString::number(std::lround(*players));
            if (fontMetrics().horizontalAdvance(figure) + 2 > cell.width()) continue;
            painter.setPen(shareOf(*players, highest) > 0.6 ? Qt::white : Qt::black);
            painter.drawText(cell, Qt::AlignCenter, figure);
        }
    }
    const QRect last = cellRect(daysPerWeek - 1, hoursPerDay - 1);
    paintScale(painter, QRect(nameColumnWidth(), last.bottom() + 1 + gap, last.right() - nameColumnWidth(),
                              scaleHeight() - 2 * gap));
}

void HeatMapView::paintScale(QPainter& painter, const QRect& area) const
{
    // A bar from nobody to the busiest hour, with a white box for the hours without data.
    const int boxWidth = 14;
    const QString noData = qtr("keine Daten");
    const int noDataWidth = boxWidth + 4 + fontMetrics().horizontalAdvance(noData) + 3 * gap;
    const QRect bar(area.left(), area.top(), std::max(1, area.width() - noDataWidth), 12);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    gradient.setColorAt(0, QColor(scaleStops[0]));
    gradient.setColorAt(0.5, QColor(scaleStops[1]));
    gradient.setColorAt(1, QColor(scaleStops[2]));
    painter.fillRect(bar, gradient);
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(bar);

    const QRect box(bar.right() + 3 * gap, bar.top(), boxWidth, bar.height());
    painter.fillRect(box, Qt::white);
    painter.drawRect(box);

    painter.setPen(palette().color(QPalette::WindowText));
    const int textTop = bar.bottom() + 2;
    const int textHeight = fontMetrics().height();
    painter.drawText(QRect(bar.left(), textTop, bar.width(), textHeight), Qt::AlignLeft, QStringLiteral("0"));
    painter.drawText(QRect(bar.left(), textTop, bar.width(), textHeight), Qt::AlignHCenter,
                     qtr("Spieler online im Schnitt der letzten %1 Wochen").arg(WeekHeatMap::weeks));
    painter.drawText(QRect(bar.left(), textTop, bar.width(), textHeight), Qt::AlignRight,
                     QString::number(map_.highest(), 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')));
    painter.drawText(QRect(box.right() + 4, bar.top() - 2, area.right() - box.right(), textHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, noData);
}

} // namespace quintor::ui
