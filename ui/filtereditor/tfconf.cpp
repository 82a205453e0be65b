#include "ui/filtereditor/tfconf.h"

#include "filters/filterfiles.h"
#include "filters/filtertreefiles.h"
#include "settings/fileio.h"
#include "settings/keys.h"
#include "ui/platform/errorreport.h"
#include "ui/filtereditor/tfilterform.h"
#include "ui/platform/text.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace quintor::ui {
namespace {

constexpr int nameRole = Qt::UserRole;
constexpr int buttonHeight = 25;

// The name exactly as read or typed: the shown text is only its display form.
std::string nameOf(const QTreeWidgetItem* node)
{
    const QByteArray bytes = node->data(0, nameRole).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void setName(QTreeWidgetItem* node, const std::string& name)
{
    node->setText(0, toQt(name));
    node->setData(0, nameRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

} // namespace

Tfconf::Tfconf(std::string appFolder, Dialogs& dialogs, std::function<void()> onClosed, QWidget* parent)
    : QWidget(parent, Qt::Window), appFolder_(std::move(appFolder)), dialogs_(dialogs), onClosed_(std::move(onClosed))
{
    setObjectName(QStringLiteral("fconf"));
    setWindowTitle(QStringLiteral("Filterkonfiguration"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);
    createControls();
    createMenu();
    resize(minimumClientWidth + 20, minimumClientHeight + 60);
    handle([this] { FormCreate(); });
}

Tfconf::~Tfconf()
{
    delete editor_.data();
}

void Tfconf::createControls()
{
    tree = new QTreeWidget(this);
    tree->setObjectName(QStringLiteral("tree"));
    tree->setColumnCount(1);
    tree->setHeaderHidden(true);
    // Names are never edited in place.
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);

    ngrp = new QPushButton(QStringLiteral("Neue Gruppe"), this);
    ngrp->setObjectName(QStringLiteral("ngrp"));
    ngrp->resize(std::max(90, ngrp->sizeHint().width()), buttonHeight);
    connect(ngrp, &QPushButton::clicked, this, [this] { handle([this] { ngrpClick(); }); });

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->resize(75, buttonHeight);
    connect(Button1, &QPushButton::clicked, this, [this] { handle([this] { Button1Click(); }); });
}

void Tfconf::createMenu()
{
    lpop = new QMenu(this);
    lpop->setObjectName(QStringLiteral("lpop"));
    const auto item = [this](const char* name, const char* caption, void (Tfconf::*handler)()) {
        QAction* action = lpop->addAction(toQt(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, handler] { handle([this, handler] { (this->*handler)(); }); });
        return action;
    };
    Lschen1 = item("Lschen1", "L\xF6schen", &Tfconf::Lschen1Click);
    Editieren1 = item("Editieren1", "Editieren", &Tfconf::Editieren1Click);
    Nachobenschieben1 = item("Nachobenschieben1", "Nach oben schieben", &Tfconf::Nachobenschieben1Click);
    lpop->addSeparator();
    NeuerFilter1 = item("NeuerFilter1", "Neuer Filter", &Tfconf::NeuerFilter1Click);
    NeueGruppe1 = item("NeueGruppe1", "Neue Gruppe", &Tfconf::NeueGruppe1Click);
    connect(lpop, &QMenu::aboutToShow, this, [this] { lpopPopup(); });
    connect(tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { lpop->popup(tree->viewport()->mapToGlobal(at)); });
}

void Tfconf::handle(const std::function<void()>& handler)
{
    guarded(dialogs_, handler);
}

Tfilterform* Tfconf::conditionEditor() const
{
    return editor_.data();
}

void Tfconf::open()
{
    show();
    raise();
    activateWindow();
}

void Tfconf::FormCreate()
{
    filters_.Clear();
    tree->clear();
    const std::string path = appFolder_ + std::string(files::filter);
    if (fileExists(path)) filters_.LoadFromFile(path);
    for (const FilterGroup& group : readFilterTree(filters_)) {
        QTreeWidgetItem* node = addGroupNode(group.name);
        for (const std::string& filter : group.filters)
            addFilterNode(node, filter);
    }
    tree->expandAll();
}

QTreeWidgetItem* Tfconf::addGroupNode(const std::string& name)
{
    auto* node = new QTreeWidgetItem(tree);
    setName(node, name);
    return node;
}

QTreeWidgetItem* Tfconf::addFilterNode(QTreeWidgetItem* group, const std::string& name)
{
    auto* node = new QTreeWidgetItem(group);
    setName(node, name);
    group->setExpanded(true);
    return node;
}

QTreeWidgetItem* Tfconf::selectedNode() const
{
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

std::string Tfconf::gname(QTreeWidgetItem* node) const
{
    QTreeWidgetItem* group = node->parent();
    if (!group) return groupKey(tree->indexOfTopLevelItem(node));
    return filterKey(tree->indexOfTopLevelItem(group), group->indexOfChild(node));
}

TextList Tfconf::treeAsList() const
{
    std::vector<FilterGroup> groups;
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* node = tree->topLevelItem(g);
        FilterGroup group{nameOf(node), {}};
        for (int f = 0; f < node->childCount(); ++f)
            group.filters.push_back(nameOf(node->child(f)));
        groups.push_back(std::move(group));
    }
    return filterListOf(groups);
}

void Tfconf::lpopPopup()
{
    QTreeWidgetItem* node = selectedNode();
    const bool isFilter = node && node->parent();
    Lschen1->setEnabled(node != nullptr);
    Editieren1->setEnabled(isFilter);
    Nachobenschieben1->setEnabled(isFilter && node->parent()->indexOfChild(node) > 0);
    NeuerFilter1->setEnabled(node != nullptr);
    NeueGruppe1->setEnabled(true);
}

void Tfconf::ngrpClick()
{
    const auto name = dialogs_.input("Neue Gruppe", "Name f\xFCr neue Filtergruppe:", "");
    // An empty name would end the list there on the next reading: it is refused like a cancel.
    if (!name || name->empty()) return;
    addGroupNode(*name);
}

void Tfconf::NeueGruppe1Click()
{
    ngrpClick();
}

void Tfconf::NeuerFilter1Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node) return;
    const auto name = dialogs_.input("Neuer Filter", "Namen f\xFCr neuen Filter eingeben:", "");
    if (!name || name->empty()) return;
    QTreeWidgetItem* group = node->parent() ? node->parent() : node;
    const std::string key = filterKey(tree->indexOfTopLevelItem(group), group->childCount());
    // The files come first: when they cannot be written, no filter appears.
    saveWholeFile(appFolder_ + conditionsFileName(key), "");
    saveWholeFile(appFolder_ + actionsFileName(key), "");
    QTreeWidgetItem* filter = addFilterNode(group, *name);
    tree->setCurrentItem(filter);
    openEditor(key);
}

void Tfconf::Editieren1Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || !node->parent()) return;
    openEditor(gname(node));
}

void Tfconf::openEditor(const std::string& key)
{
    auto* form = new Tfilterform(appFolder_, dialogs_);
    editor_ = form;
    connect(form, &Tfilterform::closed, this, [this] { show(); });
    hide();
    if (form->updatefil(key)) form->show();
}

void Tfconf::Lschen1Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node) return;
    if (!dialogs_.warningYesNo(nameOf(node) + " wirklich l\xF6schen?")) return;
    if (QTreeWidgetItem* group = node->parent()) {
        deleteFilterFiles(appFolder_, tree->indexOfTopLevelItem(group), group->indexOfChild(node), group->childCount());
    } else {
        std::vector<int> filterCounts;
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            filterCounts.push_back(tree->topLevelItem(g)->childCount());
        deleteGroupFiles(appFolder_, filterCounts, tree->indexOfTopLevelItem(node));
    }
    delete node;
}

void Tfconf::Nachobenschieben1Click()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || !node->parent()) return;
    const int group = tree->indexOfTopLevelItem(node->parent());
    const int filter = node->parent()->indexOfChild(node);
    if (filter < 1) return;
    // The list is the tree as it stands, so filters made or deleted since the last load stay as they are.
    moveFilterUp(appFolder_, treeAsList(), group, filter);
    FormCreate();
    if (QTreeWidgetItem* groupNode = tree->topLevelItem(group)) {
        if (QTreeWidgetItem* moved = groupNode->child(filter - 1)) tree->setCurrentItem(moved);
    }
}

void Tfconf::Button1Click()
{
    close();
}

void Tfconf::FormClose()
{
    filters_ = treeAsList();
    writeFilterIndex(appFolder_, filters_);
    filters_.SaveToFile(appFolder_ + std::string(files::filter));
}

void Tfconf::closeEvent(QCloseEvent* event)
{
    bool written = false;
    handle([this, &written] {
        FormClose();
        written = true;
    });
    if (!written) {
        // The files could not be written: the window stays open, so nothing is left half-done.
        event->ignore();
        return;
    }
    event->accept();
    // After the close is complete, so the refresh it starts does not run inside this handler.
    QTimer::singleShot(0, this, [this] {
        if (onClosed_) onClosed_();
    });
}

void Tfconf::FormResize()
{
    const int w = width();
    const int h = height();
    tree->setGeometry(5, 5, w - 10, h - 40);
    const int top = tree->geometry().bottom() + 1 + 5;
    ngrp->move(5, top);
    Button1->move(w - 5 - Button1->width(), top);
}

void Tfconf::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

} // namespace quintor::ui
