// The window "Verlauf": when the league is busy, as the activity history has recorded it. A
// top-level window that exists for the whole run, is only shown and hidden, and tells its owner
// when it has closed.
#pragma once

#include "history/activityhistory.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTabWidget;

namespace quintor::ui {

class ActivityChart;
class HeatMapView;

class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(const ActivityHistory& history, std::function<void()> onClosed, QWidget* parent = nullptr);

    // Shows the window with what the history holds now, centred over its owner.
    void open();
    // A tick was recorded: an open window draws it.
    void historyChanged();

    QTabWidget& tabs() { return *tabs_; }
    ActivityChart& chart() { return *chart_; }
    HeatMapView& heatMap() { return *heatMap_; }
    QLabel& busiestHours() { return *busiestHours_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();

    const ActivityHistory& history_;
    std::function<void()> onClosed_;
    QTabWidget* tabs_ = nullptr;
    ActivityChart* chart_ = nullptr;
    HeatMapView* heatMap_ = nullptr;
    QLabel* busiestHours_ = nullptr;
};

} // namespace quintor::ui
