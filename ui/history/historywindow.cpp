#include "ui/history/historywindow.h"

#include "history/historystats.h"
#include "ui/history/activitychart.h"
#include "ui/history/heatmapview.h"
#include "ui/platform/text.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace quintor::ui {

HistoryWindow::HistoryWindow(const ActivityHistory& history, std::function<void()> onClosed, QWidget* parent)
    : QWidget(parent, Qt::Dialog), history_(history), onClosed_(std::move(onClosed))
{
    setObjectName(QStringLiteral("history"));
    setWindowTitle(QStringLiteral("Verlauf"));
    resize(820, 520);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    chart_ = new ActivityChart(history_, tabs_);
    tabs_->addTab(chart_, QStringLiteral("Zeitlauf"));

    auto* week = new QWidget(tabs_);
    heatMap_ = new HeatMapView(week);
    busiestHours_ = plainLabel(QString(), week);
    busiestHours_->setObjectName(QStringLiteral("busiest"));
    busiestHours_->setWordWrap(true);
    auto* weekLayout = new QVBoxLayout(week);
    weekLayout->addWidget(heatMap_, 1);
    weekLayout->addWidget(busiestHours_);
    tabs_->addTab(week, QStringLiteral("Woche"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* closeButton = buttons->addButton(QStringLiteral("Schlie\u00DFen"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
}

void HistoryWindow::open()
{
    refresh();
    // Centred over the main window, yet whole on the screen: the window is larger than its owner.
    const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = on ? on->availableGeometry() : QRect();
    const QWidget* owner = parentWidget();
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry() : screenArea;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    if (screenArea.isValid()) {
        frame.moveRight(std::min(frame.right(), screenArea.right()));
        frame.moveBottom(std::min(frame.bottom(), screenArea.bottom()));
        frame.moveLeft(std::max(frame.left(), screenArea.left()));
        frame.moveTop(std::max(frame.top(), screenArea.top()));
    }
    move(frame.topLeft());
    show();
    raise();
    activateWindow();
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
    busiestHours_->setText(busiest.empty() ? QStringLiteral("Noch keine Spieler aufgezeichnet.") : toQt(busiest));
}

void HistoryWindow::closeEvent(QCloseEvent* event)
{
    // Only a window that was open has a main window to bring back.
    if (isVisible() && onClosed_) onClosed_();
    event->accept();
}

void HistoryWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace quintor::ui
