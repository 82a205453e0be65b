// The tab "Zeitlauf": players online (average and maximum) and open games (average) per hour over a
// span the user chooses above the chart.
#pragma once

#include "history/activityhistory.h"
#include "history/historystats.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QChart;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QValueAxis;

namespace quintor::ui {

class ActivityChart : public QWidget {
    Q_OBJECT
public:
    explicit ActivityChart(const ActivityHistory& history, QWidget* parent = nullptr);

    // Draws the chosen span up to the current hour anew from the history.
    void refresh();

    int spanHours() const;
    QComboBox& spanChoice() { return *spanChoice_; }
    QChart& chart() { return *chart_; }
    // The hours drawn, oldest first.
    const std::vector<ChartPoint>& points() const { return points_; }

private:
    void placeTimeAxis(std::int64_t currentHour);
    void placeCountAxis();

    const ActivityHistory& history_;
    std::vector<ChartPoint> points_;
    QComboBox* spanChoice_ = nullptr;
    QLabel* emptyNote_ = nullptr;
    QChart* chart_ = nullptr;
    QDateTimeAxis* timeAxis_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
};

} // namespace quintor::ui
