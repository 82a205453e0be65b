// The window "Verlauf": when the league is busy, as the activity history has recorded it. It exists
// for the whole run, is only shown and hidden, and tells its owner when it has closed.
#pragma once

#include "history/activityhistory.h"
#include "ui/platform/windowdialog.h"

#include <functional>

class QLabel;
class QTabWidget;

namespace quintor::ui {

class ActivityChart;
class HeatMapView;

class HistoryWindow : public WindowDialog {
    Q_OBJECT
public:
    HistoryWindow(const ActivityHistory& history, std::function<void()> onClosed, QWidget* parent = nullptr);

    // Shows the window with what the history holds now.
    void open() override;
    // A tick was recorded: an open window draws it.
    void historyChanged();

    QTabWidget& tabs() { return *tabs_; }
    ActivityChart& chart() { return *chart_; }
    HeatMapView& heatMap() { return *heatMap_; }
    QLabel& busiestHours() { return *busiestHours_; }

private:
    void refresh();

    const ActivityHistory& history_;
    QTabWidget* tabs_ = nullptr;
    ActivityChart* chart_ = nullptr;
    HeatMapView* heatMap_ = nullptr;
    QLabel* busiestHours_ = nullptr;
};

} // namespace quintor::ui
