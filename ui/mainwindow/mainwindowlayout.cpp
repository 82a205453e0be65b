// The main window's controls and their layout.
#include "settings/translate.h"
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/gamelisttreeview.h"
#include "ui/mainwindow/mainwindow.h"
#include "ui/platform/elidinglabel.h"
#include "ui/platform/text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace quintor::ui {
namespace {

// Room around and between the boxes of the client area.
constexpr int boxSpacing = 5;
// The narrowest the details and the notice board get; a larger font widens them.
constexpr int rightColumnMinimumWidth = 190;

QLabel* detailLabel(QWidget* parent, const char* name, const std::string& text)
{
    auto* label = plainLabel(toQt(text), parent);
    label->setObjectName(QString::fromLatin1(name));
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
    setWindowTitle(QStringLiteral("Quintor Velmar"));
    setObjectName(QStringLiteral("mform"));

    auto* client = new QWidget(this);
    setCentralWidget(client);

    listBox_ = new QGroupBox(qtr("Liste"), client);
    listBox_->setObjectName(QStringLiteral("mlist"));
    detailsBox_ = new QGroupBox(qtr("Details"), client);
    detailsBox_->setObjectName(QStringLiteral("det"));
    noticeBoardBox_ = new QGroupBox(qtr("Pinnwand"), client);
    noticeBoardBox_->setObjectName(QStringLiteral("mdet"));

    updateTimeLabel_ = detailLabel(detailsBox_, "aka", quintor::tr("Aktualisierung:"));
    versionLabel_ = detailLabel(detailsBox_, "crver", quintor::tr("Clonk-Version:"));
    gameCountLabel_ = detailLabel(detailsBox_, "gamecount", quintor::tr("Spiele offen:"));
    playerCountLabel_ = detailLabel(detailsBox_, "pcount", quintor::tr("Spieler online:"));
    emptySlotsLabel_ = detailLabel(detailsBox_, "empcount", quintor::tr("Emptys:"));
    friendCountLabel_ = detailLabel(detailsBox_, "friendcount", quintor::tr("Freunde online:"));
    auto* detailsLayout = new QVBoxLayout(detailsBox_);
    detailsLayout->setContentsMargins(8, 4, 6, 6);
    detailsLayout->setSpacing(3);
    for (QLabel* label :
         {updateTimeLabel_, versionLabel_, gameCountLabel_, playerCountLabel_, emptySlotsLabel_, friendCountLabel_})
        detailsLayout->addWidget(label);

    gameList_ = new GameListTreeView(listBox_);
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

    // The list takes what the right column leaves; the details keep their height, the notice board
    // takes the rest below them.
    auto* clientLayout = new QGridLayout(client);
    clientLayout->setContentsMargins(boxSpacing, boxSpacing, boxSpacing, boxSpacing);
    clientLayout->setSpacing(boxSpacing);
    clientLayout->addWidget(listBox_, 0, 0, 2, 1);
    clientLayout->addWidget(detailsBox_, 0, 1);
    clientLayout->addWidget(noticeBoardBox_, 1, 1);
    clientLayout->setColumnStretch(0, 1);
    clientLayout->setRowStretch(1, 1);
    // Wide enough for the statistic's longest usual lines at the font in use; the texts change with
    // every tick, the column does not.
    int textWidth = 0;
    for (const QString& sample : {qtr("Aktualisierung: 00:00:00 Uhr"), qtr("Clonk-Version: 4,9,10,10,999"),
                                  qtr("Spieler online: 00000"), qtr("Emptys: 0000 / 0000 (100 %)")})
        textWidth = std::max(textWidth, detailsBox_->fontMetrics().horizontalAdvance(sample));
    const QMargins margins = detailsLayout->contentsMargins();
    const int rightWidth =
        std::max(rightColumnMinimumWidth, textWidth + margins.left() + margins.right() + 2 * boxSpacing);
    detailsBox_->setFixedWidth(rightWidth);
    detailsBox_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    noticeBoardBox_->setFixedWidth(rightWidth);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("statbar"));
    statusBar_->setSizeGripEnabled(true);
    statusText_ = new ElidingLabel(statusBar_);
    statusBar_->addWidget(statusText_, 1);
    setStatusBar(statusBar_);

    setMinimumSize(500, 400);
}

} // namespace quintor::ui
