#include "ui/mainwindow/gamelistmodel.h"

#include "refresh/rank.h"
#include "refresh/rowtexts.h"
#include "ui/platform/styledtext.h"
#include "ui/platform/text.h"

#include <QFont>
#include <QHeaderView>
#include <QTextDocument>

#include <algorithm>

namespace quintor::ui {

QColor rowTextColor(std::uint32_t color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QColor staleRowTextColor(std::uint32_t filterColour)
{
    if (filterColour == 0) return QColor(Qt::gray);
    // The filter's hue, half-way to the list's white: coloured, yet plainly not live.
    const QColor hue = rowTextColor(filterColour);
    return QColor((hue.red() + 255) / 2, (hue.green() + 255) / 2, (hue.blue() + 255) / 2);
}

GameListModel::GameListModel(const GameStore& games, QObject* parent) : QAbstractTableModel(parent), games_(games) {}

void GameListModel::setHeader(QHeaderView* header)
{
    header_ = header;
    if (!header_) return;
    for (std::size_t c = 0; c < columns_.size(); ++c)
        header_->resizeSection(static_cast<int>(c), columns_[c].width);
}

int GameListModel::columnCount() const
{
    return static_cast<int>(columns_.size());
}

int GameListModel::columnWidth(int column) const
{
    if (header_ && column < header_->count()) return header_->sectionSize(column);
    return columns_.at(static_cast<std::size_t>(column)).width;
}

void GameListModel::clearRows()
{
    if (rows_.empty()) return;
    beginRemoveRows({}, 0, static_cast<int>(rows_.size()) - 1);
    rows_.clear();
    ranks_.clear();
    placed_ = 0;
    endRemoveRows();
}

void GameListModel::clearColumns()
{
    if (columns_.empty()) return;
    beginRemoveColumns({}, 0, static_cast<int>(columns_.size()) - 1);
    columns_.clear();
    endRemoveColumns();
}

void GameListModel::addColumn(const std::string& caption, int width)
{
    const int column = static_cast<int>(columns_.size());
    beginInsertColumns({}, column, column);
    columns_.push_back({caption, toQt(caption), width});
    endInsertColumns();
    if (header_) header_->resizeSection(column, width);
}

RowHandle GameListModel::addRow()
{
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back(std::make_unique<Row>(Row{++lastHandle_, {}, {}, {}, {}, {}}));
    endInsertRows();
    return lastHandle_;
}

int GameListModel::rankOf(RowHandle handle) const
{
    const GameRecord* record = games_.find(handle);
    return record ? rank(*record) : 0;
}

int GameListModel::findRow(RowHandle handle) const
{
    // A new row waits among the last ones, so the search starts at the end.
    for (std::size_t i = rows_.size(); i-- > 0;) {
        if (rows_[i]->handle == handle) return static_cast<int>(i);
    }
    return -1;
}

void GameListModel::setRowTexts(RowHandle handle, const std::string& caption, std::vector<std::string> subItems)
{
    const int found = findRow(handle);
    if (found < 0) return;
    const auto at = static_cast<std::size_t>(found);
    Row& row = *rows_[at];
    row.caption = caption;
    row.captionText = toQt(caption);
    row.subTexts.clear();
    for (const std::string& text : subItems)
        row.subTexts << toQt(text);
    row.subItems = std::move(subItems);
    emit dataChanged(index(found, 0), index(found, std::max(0, columnCount() - 1)));
    if (at < placed_) return; // already in its place; its rank does not depend on its texts

    const int rank = rankOf(handle);
    const std::size_t to = rankInsertPosition(ranks_, rank);
    if (to != at) {
        beginMoveRows({}, found, found, {}, static_cast<int>(to));
        std::rotate(rows_.begin() + static_cast<std::ptrdiff_t>(to), rows_.begin() + found, rows_.begin() + found + 1);
        endMoveRows();
    }
    ranks_.insert(ranks_.begin() + static_cast<std::ptrdiff_t>(to), rank);
    ++placed_;
}

void GameListModel::setRowToolTip(RowHandle handle, const std::string& text)
{
    const int found = findRow(handle);
    if (found < 0) return;
    QString toolTip = toQt(text);
    // A tooltip that looks like markup would be shown as markup: escaped, it shows as it stands.
    if (Qt::mightBeRichText(toolTip)) toolTip = Qt::convertFromPlainText(toolTip, Qt::WhiteSpaceNormal);
    rows_[static_cast<std::size_t>(found)]->toolTip = toolTip;
    emit dataChanged(index(found, 0), index(found, std::max(0, columnCount() - 1)), {Qt::ToolTipRole});
}

int GameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GameListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCount();
}

QVariant GameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = *rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (index.column() == 0) return row.captionText;
        if (index.column() - 1 < row.subTexts.size()) return row.subTexts[index.column() - 1];
        return QString();
    case Qt::ForegroundRole: {
        const GameRecord* record = games_.find(row.handle);
        if (record && record->Stale) return staleRowTextColor(record->Color);
        return rowTextColor(record ? record->Color : 0);
    }
    case Qt::FontRole: {
        // A kept row of a failing server reads as not live at a glance, whatever colours it.
        const GameRecord* record = games_.find(row.handle);
        if (!record || !record->Stale) return {};
        QFont font;
        font.setItalic(true);
        return font;
    }
    case Qt::ToolTipRole:
        return row.toolTip.isEmpty() ? QVariant() : QVariant(row.toolTip);
    case textSpansRole: {
        const GameRecord* record = games_.find(row.handle);
        const auto column = static_cast<std::size_t>(index.column());
        if (!record || column >= columns_.size()) return {};
        static const std::string none;
        const std::string& shown = column == 0                        ? row.caption
                                   : column - 1 < row.subItems.size() ? row.subItems[column - 1]
                                                                      : none;
        const TextSpans spans = columnSpans(columns_[column].name, shown, *record);
        return spans.empty() ? QVariant() : spansVariant(spans);
    }
    default:
        return {};
    }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return columns_[static_cast<std::size_t>(section)].caption;
}

Qt::ItemFlags GameListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0 && editable_) flags |= Qt::ItemIsEditable;
    return flags;
}

bool GameListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::EditRole || !editable_) return false;
    const int at = index.row();
    const RowHandle handle = handleAt(at);
    const std::string old = rows_[static_cast<std::size_t>(at)]->caption;
    std::string text = fromQt(value.toString());
    if (editHandler_) editHandler_(handle, old, text);
    // The handler may have waited in a question while the list changed; the row is found again.
    if (findRow(handle) < 0) return false;
    setCaption(handle, text);
    return true;
}

void GameListModel::setCaption(RowHandle handle, const std::string& caption)
{
    const int row = findRow(handle);
    if (row < 0) return;
    Row& target = *rows_[static_cast<std::size_t>(row)];
    target.caption = caption;
    target.captionText = toQt(caption);
    emit dataChanged(index(row, 0), index(row, 0));
}

RowHandle GameListModel::handleAt(int row) const
{
    return rows_.at(static_cast<std::size_t>(row))->handle;
}

int GameListModel::rowOf(RowHandle handle) const
{
    return findRow(handle);
}

const std::string& GameListModel::captionAt(int row) const
{
    return rows_.at(static_cast<std::size_t>(row))->caption;
}

} // namespace quintor::ui
