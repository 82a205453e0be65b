// The main window's controls and their layout.
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/text.h"

#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace quintor::ui {
namespace {

constexpr int detailsBoxWidth = 190;
constexpr int detailsBoxHeight = 110;

QLabel* detailLabel(QWidget* parent, const char* name, const char* text, int left, int top)
{
    auto* label = plainLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, top, detailsBoxWidth - 12, 17);
    return label;
}

// Rows in their record's colour on white; a selected row white on blue, in every state of the window.
void setListColours(QTreeView* list)
{
    QPalette palette = list->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Highlight, QColor(0, 0, 255));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    list->setPalette(palette);
}

} // namespace

void MainWindow::createControls()
{
    setWindowTitle(QStringLiteral("Quintor"));
    setObjectName(QStringLiteral("mform"));

    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);

    listBox_ = new QGroupBox(QStringLiteral("Liste"), client);
    listBox_->setObjectName(QStringLiteral("mlist"));
    detailsBox_ = new QGroupBox(QStringLiteral("Details"), client);
    detailsBox_->setObjectName(QStringLiteral("det"));
    detailsBox_->resize(detailsBoxWidth, detailsBoxHeight);
    noticeBoardBox_ = new QGroupBox(QStringLiteral("Pinnwand"), client);
    noticeBoardBox_->setObjectName(QStringLiteral("mdet"));

    updateTimeLabel_ = detailLabel(detailsBox_, "aka", "Aktualisierung:", 8, 20);
    versionLabel_ = detailLabel(detailsBox_, "crver", "Clonk-Version:", 8, 40);
    gameCountLabel_ = detailLabel(detailsBox_, "gamecount", "Spiele offen:", -96, 60); // outside the visible area
    playerCountLabel_ = detailLabel(detailsBox_, "pcount", "Spieler online:", 8, 60);
    emptySlotsLabel_ = detailLabel(detailsBox_, "empcount", "Emptys:", 8, 80);

    gameList_ = new QTreeView(listBox_);
    gameList_->setObjectName(QStringLiteral("dlist"));
    gameList_->setModel(model_);
    gameList_->setRootIsDecorated(false);
    gameList_->setItemsExpandable(false);
    gameList_->setUniformRowHeights(true);
    gameList_->setAllColumnsShowFocus(true);
    gameList_->setSortingEnabled(false);
    gameList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gameList_->setSelectionMode(QAbstractItemView::SingleSelection);
    gameList_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    gameList_->header()->setSectionsClickable(false);
    gameList_->header()->setSectionsMovable(false);
    gameList_->header()->setStretchLastSection(false);
    setListColours(gameList_);
    model_->setHeader(gameList_->header());
    model_->setEditHandler([this](RowHandle row, const std::string& oldCaption, std::string& text) {
        askToStoreAlias(row, oldCaption, text);
    });
    auto* listLayout = new QVBoxLayout(listBox_);
    listLayout->setContentsMargins(6, 4, 6, 6);
    listLayout->addWidget(gameList_);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("statbar"));
    statusBar_->setSizeGripEnabled(true);
    statusText_ = plainLabel(QString(), statusBar_);
    statusBar_->addWidget(statusText_, 1);
    setStatusBar(statusBar_);

    setMinimumSize(500, 400);
}

int MainWindow::clientHeight() const
{
    // The client area below the menu, as designed, holds the status bar too.
    return centralWidget()->height() + (statusBar_->isVisibleTo(this) ? statusBar_->height() : 0);
}

void MainWindow::placeControls()
{
    const int clientWidth = centralWidget()->width();
    const int height = clientHeight();
    detailsBox_->move(clientWidth - detailsBox_->width() - 5, 5);
    const int mdetTop = detailsBox_->y() + detailsBox_->height() + 5;
    noticeBoardBox_->setGeometry(detailsBox_->x(), mdetTop, detailsBox_->width(), height - mdetTop - 26);
    listBox_->setGeometry(5, 5, detailsBox_->x() - 10, height - 5 - 26);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) placeControls();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    placeControls();
}

} // namespace quintor::ui
