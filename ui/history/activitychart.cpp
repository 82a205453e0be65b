#include "ui/history/activitychart.h"
#include "settings/translate.h"

#include "history/civiltime.h"
#include "ui/platform/text.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <array>

namespace quintor::ui {
namespace {

struct Span {
    const char* caption;
    int hours;
};
constexpr std::array<Span, 3> spans{{
    {untranslated("Letzte 24 Stunden"), lastDayHours},
    {untranslated("Letzte 7 Tage"), lastWeekHours},
    {untranslated("Letzte 30 Tage"), lastMonthHours},
}};
constexpr int defaultSpan = 1; // a week shows the evenings and the weekend at one glance

struct Line {
    const char* name;
    QColor colour;
    Qt::PenStyle style;
    double (*value)(const ChartPoint&);
};
const std::array<Line, 3>& lines()
{
    static const std::array<Line, 3> all{{
        {untranslated("Spieler online (Durchschnitt)"), QColor(31, 119, 180), Qt::SolidLine,
         [](const ChartPoint& p) { return p.averagePlayers; }},
        {untranslated("Spieler online (Maximum)"), QColor(120, 180, 230), Qt::DashLine,
         [](const ChartPoint& p) { return static_cast<double>(p.maxPlayers); }},
        {untranslated("Spiele offen (Durchschnitt)"), QColor(230, 120, 20), Qt::SolidLine,
         [](const ChartPoint& p) { return p.averageGames; }},
    }};
    return all;
}

// Where an hour number's wall-clock reading lies on the time axis, `minute` minutes into the hour.
qint64 axisTime(std::int64_t hour, int minute = 0)
{
    const LocalHour local = localHourOf(hour);
    return QDateTime(QDate(local.year, local.month, local.day), QTime(local.hour, minute)).toMSecsSinceEpoch();
}

} // namespace

ActivityChart::ActivityChart(const ActivityHistory& history, QWidget* parent) : QWidget(parent), history_(history)
{
    spanChoice_ = new QComboBox(this);
    spanChoice_->setObjectName(QStringLiteral("span"));
    for (const Span& span : spans)
        spanChoice_->addItem(qtr(span.caption), span.hours);
    spanChoice_->setCurrentIndex(defaultSpan);
    emptyNote_ = plainLabel(qtr("Keine Aufzeichnungen in diesem Zeitraum"), this);
    emptyNote_->setObjectName(QStringLiteral("emptyNote"));

    chart_ = new QChart();
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    timeAxis_ = new QDateTimeAxis(chart_);
    countAxis_ = new QValueAxis(chart_);
    countAxis_->setLabelFormat(QStringLiteral("%i"));
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(countAxis_, Qt::AlignLeft);
    auto* view = new QChartView(chart_, this); // owns the chart
    view->setObjectName(QStringLiteral("chart"));
    view->setRenderHint(QPainter::Antialiasing);

    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(plainLabel(qtr("Zeitraum:"), this));
    choiceRow->addWidget(spanChoice_);
    choiceRow->addSpacing(12);
    choiceRow->addWidget(emptyNote_);
    choiceRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choiceRow);
    layout->addWidget(view, 1);

    connect(spanChoice_, &QComboBox::currentIndexChanged, this, &ActivityChart::refresh);
}

int ActivityChart::spanHours() const
{
    return spanChoice_->currentData().toInt();
}

void ActivityChart::refresh()
{
    const std::int64_t currentHour = history_.currentHour();
    points_ = chartSeries(history_.hours(), currentHour, spanHours());
    emptyNote_->setVisible(points_.empty());

    chart_->removeAllSeries();
    for (const Line& line : lines()) {
        // A line breaks where hours were not recorded, rather than bridging the gap as if they were.
        std::vector<QLineSeries*> segments;
        std::int64_t previousHour = 0;
        for (const ChartPoint& point : points_) {
            const std::int64_t hour = hourNumber(point.hour);
            if (segments.empty() || hour != previousHour + 1) segments.push_back(new QLineSeries(chart_));
            segments.back()->append(static_cast<qreal>(axisTime(hour, 30)), line.value(point));
            previousHour = hour;
        }
        if (segments.empty()) segments.push_back(new QLineSeries(chart_)); // keeps its place in the legend
        for (QLineSeries* segment : segments) {
            segment->setName(qtr(line.name));
            QPen pen(line.colour, 2, line.style);
            segment->setPen(pen);
            segment->setPointsVisible(segment->count() == 1); // a lone hour would draw nothing
            chart_->addSeries(segment);
            segment->attachAxis(timeAxis_);
            segment->attachAxis(countAxis_);
            if (segment != segments.front())
                for (QLegendMarker* marker : chart_->legend()->markers(segment))
                    marker->setVisible(false);
        }
    }
    placeTimeAxis(currentHour);
    placeCountAxis();
}

void ActivityChart::placeTimeAxis(std::int64_t currentHour)
{
    const int span = spanHours();
    if (span <= lastDayHours) {
        timeAxis_->setFormat(QStringLiteral("HH:mm"));
        timeAxis_->setTickCount(span / 4 + 1);
        timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(axisTime(currentHour - span + 1)),
                            QDateTime::fromMSecsSinceEpoch(axisTime(currentHour + 1)));
        return;
    }
    // Whole days from midnight to midnight, a tick on each day or on every fourth, so the labels
    // name days; the span's first hours may start within the first day.
    const int step = span > 8 * 24 ? 4 : 1;
    int days = span / 24 + 1;
    days = (days + step - 1) / step * step;
    const std::int64_t endDay = dayOfHour(currentHour) + 1;
    timeAxis_->setFormat(QStringLiteral("dd.MM."));
    timeAxis_->setTickCount(days / step + 1);
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(axisTime((endDay - days) * 24)),
                        QDateTime::fromMSecsSinceEpoch(axisTime(endDay * 24)));
}

void ActivityChart::placeCountAxis()
{
    double top = 4;
    for (const ChartPoint& point : points_)
        top = std::max({top, static_cast<double>(point.maxPlayers), point.averageGames});
    countAxis_->setRange(0, top);
    countAxis_->applyNiceNumbers();
}

} // namespace quintor::ui
