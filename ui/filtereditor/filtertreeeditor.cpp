#include "ui/filtereditor/filtertreeeditor.h"
#include "settings/translate.h"

#include "filters/filterfiles.h"
#include "filters/filtertreefiles.h"
#include "settings/errors.h"
#include "ui/filtereditor/filtereditor.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace quintor::ui {
namespace {

constexpr int nameRole = Qt::UserRole;

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

FilterTreeEditor::FilterTreeEditor(std::string appFolder, Dialogs& dialogs, Written written,
                                   std::function<void()> onClosed, QWidget* parent)
    : WindowDialog(parent, Qt::Window), appFolder_(std::move(appFolder)), dialogs_(dialogs),
      written_(std::move(written))
{
    // After the close is complete, so the refresh it starts does not run inside the closing.
    setOnClosed([this, onClosed = std::move(onClosed)] {
        if (onClosed) QTimer::singleShot(0, this, onClosed);
    });
    setObjectName(QStringLiteral("fconf"));
    setWindowTitle(qtr("Filterkonfiguration"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);
    createControls();
    createMenu();
    resize(minimumClientWidth + 20, minimumClientHeight + 60);
}

FilterTreeEditor::~FilterTreeEditor()
{
    delete editor_.data();
}

void FilterTreeEditor::createControls()
{
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setColumnCount(1);
    tree_->setHeaderHidden(true);
    // Names are never edited in place.
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    // A double click on a filter does what "Editieren" does; on a group it only folds or unfolds.
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) {
        if (node->parent()) handle([this, node] { openEditor(keyOf(node)); });
    });

    newGroupButton_ = new QPushButton(qtr("Neue Gruppe"), this);
    newGroupButton_->setObjectName(QStringLiteral("ngrp"));
    sizeButton(newGroupButton_, 90);
    connect(newGroupButton_, &QPushButton::clicked, this, [this] { handle([this] { addGroup(); }); });

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Button1"));
    sizeButton(okButton_);
    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);

    QVBoxLayout* column = windowColumn(this);
    column->addWidget(tree_, 1);
    QHBoxLayout* buttons = controlRow();
    buttons->addWidget(newGroupButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    column->addLayout(buttons);
}

void FilterTreeEditor::createMenu()
{
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("lpop"));
    const auto item = [this](const char* name, const std::string& caption, void (FilterTreeEditor::*handler)()) {
        QAction* action = contextMenu_->addAction(toQt(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, handler] { handle([this, handler] { (this->*handler)(); }); });
        return action;
    };
    deleteAction_ = item("Lschen1", quintor::tr("L\xF6schen"), &FilterTreeEditor::deleteSelected);
    editAction_ = item("Editieren1", quintor::tr("Editieren"), &FilterTreeEditor::editSelectedFilter);
    moveUpAction_ =
        item("Nachobenschieben1", quintor::tr("Nach oben schieben"), &FilterTreeEditor::moveSelectedFilterUp);
    contextMenu_->addSeparator();
    newFilterAction_ = item("NeuerFilter1", quintor::tr("Neuer Filter"), &FilterTreeEditor::addFilter);
    newGroupAction_ = item("NeueGruppe1", quintor::tr("Neue Gruppe"), &FilterTreeEditor::addGroup);
    connect(contextMenu_, &QMenu::aboutToShow, this, [this] { updateContextMenu(); });
    connect(tree_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { contextMenu_->popup(tree_->viewport()->mapToGlobal(at)); });
}

void FilterTreeEditor::handle(const std::function<void()>& handler)
{
    guarded(dialogs_, handler);
}

FilterEditor* FilterTreeEditor::conditionEditor() const
{
    return editor_.data();
}

void FilterTreeEditor::setShownGames(std::shared_ptr<const std::vector<GameRecord>> games)
{
    shownGames_ = std::move(games);
    if (editor_) editor_->setShownGames(shownGames_);
}

bool FilterTreeEditor::showsGames() const
{
    return isVisible() || (editor_ && editor_->isVisible());
}

void FilterTreeEditor::open(const FilterStoreLoad& store)
{
    filters_ = store.filters;
    unreadable_ = store.unreadable;
    showFilters();
    WindowDialog::open();
    if (unreadable_ && !unreadableShown_) {
        unreadableShown_ = true;
        // Once the window stands, so the user sees what the message is about.
        QTimer::singleShot(0, this, [this] {
            std::string text(kFilterFilesUnreadable);
            if (*unreadable_ != text) text += "\r\n\r\n" + *unreadable_;
            dialogs_.message(text);
        });
    }
}

void FilterTreeEditor::writeForQuit()
{
    if (!isVisible() && !editor_) return;
    hide();
    writeFilterFiles();
}

void FilterTreeEditor::showFilters()
{
    tree_->clear();
    for (const FilterGroup& group : readFilterTree(filters_)) {
        QTreeWidgetItem* node = addGroupNode(group.name);
        for (const std::string& filter : group.filters)
            addFilterNode(node, filter);
    }
    tree_->expandAll();
}

QTreeWidgetItem* FilterTreeEditor::addGroupNode(const std::string& name)
{
    auto* node = new QTreeWidgetItem(tree_);
    setName(node, name);
    return node;
}

QTreeWidgetItem* FilterTreeEditor::addFilterNode(QTreeWidgetItem* group, const std::string& name)
{
    auto* node = new QTreeWidgetItem(group);
    setName(node, name);
    group->setExpanded(true);
    return node;
}

QTreeWidgetItem* FilterTreeEditor::selectedNode() const
{
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

std::string FilterTreeEditor::keyOf(QTreeWidgetItem* node) const
{
    QTreeWidgetItem* group = node->parent();
    if (!group) return groupKey(tree_->indexOfTopLevelItem(node));
    return filterKey(tree_->indexOfTopLevelItem(group), group->indexOfChild(node));
}

TextList FilterTreeEditor::treeAsList() const
{
    std::vector<FilterGroup> groups;
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* node = tree_->topLevelItem(g);
        FilterGroup group{nameOf(node), {}};
        for (int f = 0; f < node->childCount(); ++f)
            group.filters.push_back(nameOf(node->child(f)));
        groups.push_back(std::move(group));
    }
    return filterListOf(groups);
}

void FilterTreeEditor::updateContextMenu()
{
    QTreeWidgetItem* node = selectedNode();
    const bool isFilter = node && node->parent();
    deleteAction_->setEnabled(node != nullptr);
    editAction_->setEnabled(isFilter);
    moveUpAction_->setEnabled(isFilter && node->parent()->indexOfChild(node) > 0);
    newFilterAction_->setEnabled(node != nullptr);
    newGroupAction_->setEnabled(true);
}

FilterTreePlan FilterTreeEditor::change(const FilterTreeChange& requested)
{
    // Files that could not be read at start are never written over.
    if (unreadable_) throw QuintorError(std::string(kFilterFilesUnreadable));
    FilterTreePlan plan = planFilterTreeChange(treeAsList(), requested, localFiles(), appFolder_);
    try {
        applyFilterTreePlan(plan, localFiles(), appFolder_);
    } catch (const UnfinishedChange&) {
        // The journal holds the change and the next start finishes it: the tree shows it already.
        filters_ = plan.filters;
        showFilters();
        if (written_) written_(filters_, plan.keys);
        throw;
    }
    filters_ = plan.filters;
    showFilters();
    if (written_) written_(filters_, plan.keys);
    return plan;
}

void FilterTreeEditor::addGroup()
{
    const auto name = dialogs_.input(quintor::tr("Neue Gruppe"), quintor::tr("Name f\xFCr neue Filtergruppe:"), "");
    // An empty name would end the list there on the next reading: it is refused like a cancel.
    if (!name || name->empty()) return;
    change(FilterTreeChange::addGroup(*name));
}

void FilterTreeEditor::addFilter()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node) return;
    const auto name =
        dialogs_.input(quintor::tr("Neuer Filter"), quintor::tr("Namen f\xFCr neuen Filter eingeben:"), "");
    if (!name || name->empty()) return;
    QTreeWidgetItem* group = node->parent() ? node->parent() : node;
    const int groupIndex = tree_->indexOfTopLevelItem(group);
    // The files come first: when they cannot be written, no filter appears.
    const FilterTreePlan plan = change(FilterTreeChange::addFilter(groupIndex, *name));
    if (QTreeWidgetItem* groupNode = tree_->topLevelItem(groupIndex))
        tree_->setCurrentItem(groupNode->child(groupNode->childCount() - 1));
    openEditor(*plan.keys.added);
}

void FilterTreeEditor::editSelectedFilter()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || !node->parent()) return;
    openEditor(keyOf(node));
}

void FilterTreeEditor::openEditor(const std::string& key)
{
    auto* editor = new FilterEditor(appFolder_, dialogs_, unreadable_.has_value());
    editor_ = editor;
    editor->setShownGames(shownGames_);
    editor->setLastBounds(editorBounds_);
    connect(editor, &FilterEditor::closed, this, [this, editor] {
        editorBounds_ = editor->lastBounds();
        show();
    });
    connect(editor, &FilterEditor::conditionsChanged, this, [this](const std::string& changed) {
        if (conditionsChanged_) conditionsChanged_(changed);
    });
    hide();
    if (editor->loadFilter(key)) editor->open();
}

void FilterTreeEditor::deleteSelected()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node) return;
    if (!dialogs_.warningYesNo(nameOf(node) + quintor::tr(" wirklich l\xF6schen?"))) return;
    // The list and the index change with the files, so a crash cannot pair the old names with new keys.
    if (QTreeWidgetItem* group = node->parent())
        change(FilterTreeChange::deleteFilter(tree_->indexOfTopLevelItem(group), group->indexOfChild(node)));
    else
        change(FilterTreeChange::deleteGroup(tree_->indexOfTopLevelItem(node)));
}

void FilterTreeEditor::moveSelectedFilterUp()
{
    QTreeWidgetItem* node = selectedNode();
    if (!node || !node->parent()) return;
    const int group = tree_->indexOfTopLevelItem(node->parent());
    const int filter = node->parent()->indexOfChild(node);
    if (filter < 1) return;
    change(FilterTreeChange::moveFilterUp(group, filter));
    if (QTreeWidgetItem* groupNode = tree_->topLevelItem(group)) {
        if (QTreeWidgetItem* moved = groupNode->child(filter - 1)) tree_->setCurrentItem(moved);
    }
}

void FilterTreeEditor::writeFilterFiles()
{
    if (unreadable_) return;
    filters_ = treeAsList();
    // The index and the list belong together: both are replaced or neither.
    writeFilterList(filters_, localFiles(), appFolder_);
    if (written_) written_(filters_, {});
}

bool FilterTreeEditor::writeBack()
{
    bool written = false;
    // When the files cannot be written the window stays open, so nothing is left half-done.
    handle([this, &written] {
        writeFilterFiles();
        written = true;
    });
    return written;
}

} // namespace quintor::ui
