// The main window's controls and their layout.
#include "ui/mainwindow/gamelistmodel.h"
#include "ui/mainwindow/tmform.h"

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

constexpr int detWidth = 190;
constexpr int detHeight = 110;

QLabel* detailLabel(QWidget* parent, const char* name, const char* text, int left, int top)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, top, detWidth - 12, 17);
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

void Tmform::createControls()
{
    setWindowTitle(QStringLiteral("Quintor"));
    setObjectName(QStringLiteral("mform"));

    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);

    mlist = new QGroupBox(QStringLiteral("Liste"), client);
    mlist->setObjectName(QStringLiteral("mlist"));
    det = new QGroupBox(QStringLiteral("Details"), client);
    det->setObjectName(QStringLiteral("det"));
    det->resize(detWidth, detHeight);
    mdet = new QGroupBox(QStringLiteral("Pinnwand"), client);
    mdet->setObjectName(QStringLiteral("mdet"));

    aka = detailLabel(det, "aka", "Aktualisierung:", 8, 20);
    crver = detailLabel(det, "crver", "Clonk-Version:", 8, 40);
    gamecount = detailLabel(det, "gamecount", "Spiele offen:", -96, 60); // outside the visible area
    pcount = detailLabel(det, "pcount", "Spieler online:", 8, 60);
    empcount = detailLabel(det, "empcount", "Emptys:", 8, 80);

    dlist = new QTreeView(mlist);
    dlist->setObjectName(QStringLiteral("dlist"));
    dlist->setModel(model_);
    dlist->setRootIsDecorated(false);
    dlist->setItemsExpandable(false);
    dlist->setUniformRowHeights(true);
    dlist->setAllColumnsShowFocus(true);
    dlist->setSortingEnabled(false);
    dlist->setSelectionBehavior(QAbstractItemView::SelectRows);
    dlist->setSelectionMode(QAbstractItemView::SingleSelection);
    dlist->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    dlist->header()->setSectionsClickable(false);
    dlist->header()->setSectionsMovable(false);
    dlist->header()->setStretchLastSection(false);
    setListColours(dlist);
    model_->setHeader(dlist->header());
    model_->setEditHandler([this](RowHandle row, const std::string& oldCaption, std::string& text) {
        dlistEdited(row, oldCaption, text);
    });
    auto* listLayout = new QVBoxLayout(mlist);
    listLayout->setContentsMargins(6, 4, 6, 6);
    listLayout->addWidget(dlist);

    statbar = new QStatusBar(this);
    statbar->setObjectName(QStringLiteral("statbar"));
    statbar->setSizeGripEnabled(true);
    statbarText = new QLabel(statbar);
    statbar->addWidget(statbarText, 1);
    setStatusBar(statbar);

    setMinimumSize(500, 400);
}

int Tmform::clientHeight() const
{
    // The client area below the menu, as designed, holds the status bar too.
    return centralWidget()->height() + (statbar->isVisibleTo(this) ? statbar->height() : 0);
}

void Tmform::FormResize()
{
    const int clientWidth = centralWidget()->width();
    const int height = clientHeight();
    det->move(clientWidth - det->width() - 5, 5);
    const int mdetTop = det->y() + det->height() + 5;
    mdet->setGeometry(det->x(), mdetTop, det->width(), height - mdetTop - 26);
    mlist->setGeometry(5, 5, det->x() - 10, height - 5 - 26);
}

bool Tmform::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void Tmform::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

} // namespace quintor::ui
