// The heat map of the tab "Woche": seven weekdays by 24 hours, each cell coloured by the players
// online on average in that hour, with the colour scale below. Hours without data stay white.
#pragma once

#include "history/historystats.h"

#include <QColor>
#include <QRect>
#include <QWidget>

#include <optional>

namespace quintor::ui {

class HeatMapView : public QWidget {
    Q_OBJECT
public:
    explicit HeatMapView(QWidget* parent = nullptr);

    void setMap(const WeekHeatMap& map);
    const WeekHeatMap& map() const { return map_; }

    // White without data; from pale yellow for nobody to dark red for `highest` players.
    static QColor cellColour(std::optional<double> players, double highest);
    // Where the cell of a weekday (Monday 0) and hour lies in the widget.
    QRect cellRect(int weekday, int hour) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int nameColumnWidth() const;
    int headerHeight() const;
    int scaleHeight() const;
    void paintScale(QPainter& painter, const QRect& area) const;

    WeekHeatMap map_;
};

} // namespace quintor::ui
