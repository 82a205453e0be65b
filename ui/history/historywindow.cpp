#include "ui/history/historywindow.h"

#include "history/historystats.h"
#include "ui/history/activitychart.h"
#include "ui/history/heatmapview.h"
#include "ui/platform/text.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quintor::ui {

HistoryWindow::HistoryWindow(const ActivityHistory& history, std::function<void()> onClosed, QWidget* parent)
    : WindowDialog(parent), history_(history)
{
    setOnClosed(std::move(onClosed));
    setObjectName(QStringLiteral("history"));
    setWindowTitle(qtr("Verlauf"));
    resize(820, 520);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    chart_ = new ActivityChart(history_, tabs_);
    tabs_->addTab(chart_, qtr("Zeitlauf"));

    auto* week = new QWidget(tabs_);
    heatMap_ = new HeatMapView(week);
    busiestHours_ = plainLabel(QString(), week);
    busiestHours_->setObjectName(QStringLiteral("busiest"));
    busiestHours_->setWordWrap(true);
    auto* weekLayout = new QVBoxLayout(week);
    weekLayout->addWidget(heatMap_, 1);
    weekLayout->addWidget(busiestHours_);
    tabs_->addTab(week, qtr("Woche"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* closeButton = buttons->addButton(qtr("Schlie\u00DFen"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
}

void HistoryWindow::open()
{
    refresh();
    WindowDialog::open();
}

void HistoryWindow::historyChanged()
{
    if (isVisible()) refresh();
}

void HistoryWindow::refresh()
{
    chart_->refresh();
    const WeekHeatMap map = weekHeatMap(history_.hours(), history_.currentHour());
    heatMap_->setMap(map);
    const std::string busiest = busiestHoursText(map);
    busiestHours_->setText(busiest.empty() ? qtr("Noch keine Spieler aufgezeichnet.") : toQt(busiest));
}

} // namespace quintor::ui
