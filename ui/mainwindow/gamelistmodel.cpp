#include "ui/mainwindow/gamelistmodel.h"
#include "settings/translate.h"

#include "reference/textroutines.h"
#include "refresh/rank.h"
#include "refresh/rowtexts.h"
#include "settings/listroom.h"
#include "ui/platform/styledtext.h"
#include "ui/platform/text.h"

#include <QFont>
#include <QHeaderView>
#include <QTextDocument>

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace quintor::ui {

namespace {

void appendText(std::string& texts, std::string_view text)
{
    const auto length = static_cast<std::uint32_t>(text.size());
    texts.append(reinterpret_cast<const char*>(&length), sizeof length);
    texts.append(text);
}

// Appends the caption and the sub items, each behind its length (four bytes).
void packTexts(std::string& texts, std::string_view caption, const std::vector<std::string>& subItems)
{
    appendText(texts, caption);
    for (const std::string& item : subItems)
        appendText(texts, item);
}

// The text of a column (0: the caption) in packed texts; "" past the last.
std::string_view cellText(std::string_view texts, std::size_t column)
{
    for (std::size_t at = 0, c = 0; at + sizeof(std::uint32_t) <= texts.size(); ++c) {
        std::uint32_t length = 0;
        std::memcpy(&length, texts.data() + at, sizeof length);
        at += sizeof length;
        if (c == column) return texts.substr(at, length);
        at += length;
    }
    return {};
}

// The packed texts with another caption.
std::string withCaption(std::string_view texts, std::string_view caption)
{
    const std::size_t oldEnd = sizeof(std::uint32_t) + cellText(texts, 0).size();
    std::string changed;
    changed.reserve(texts.size() - std::min(oldEnd, texts.size()) + sizeof(std::uint32_t) + caption.size());
    appendText(changed, caption);
    if (oldEnd < texts.size()) changed.append(texts.substr(oldEnd));
    return changed;
}

} // namespace

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
    if (rowTotal() == 0) return;
    const int shown = rowCount();
    if (shown > 0) beginRemoveRows({}, 0, shown - 1);
    // The groups stay, empty, with the room the last list needed: the next is likely as long.
    for (RankGroup& group : groups_)
        clearKeepingRoom(group.rows);
    waiting_.clear(); // rows wait a run of a refresh at a time: its room is small
    waitingPlaced_ = 0;
    placedCount_ = 0;
    clearKeepingRoom(places_);
    clearKeepingRoom(texts_);
    givenUpTexts_ = 0;
    handleBase_ = lastHandle_;
    shownRows_ = 0;
    if (shown > 0) endRemoveRows();
}

void GameListModel::holdRows()
{
    if (holding_) return;
    holding_ = true;
    heldChanges_ = false;
    shownRows_ = rowTotal();
}

void GameListModel::showRows()
{
    if (!holding_) return;
    if (!heldChanges_) {
        holding_ = false;
        return;
    }
    if (shownRows_ == 0) {
        // The usual case: a refresh fills the list it cleared.
        beginInsertRows({}, 0, rowTotal() - 1);
        holding_ = false;
        endInsertRows();
    } else {
        beginResetModel();
        holding_ = false;
        endResetModel();
    }
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
    columns_.push_back({caption, toQt(translateText(caption)), width});
    endInsertColumns();
    if (header_) header_->resizeSection(column, width);
}

RowHandle GameListModel::addRow()
{
    const int row = rowTotal();
    if (holding_) {
        heldChanges_ = true;
    } else {
        beginInsertRows({}, row, row);
    }
    waiting_.push_back(Row{++lastHandle_, 0, 0, {}, false});
    places_.push_back(Place{false, 0, waiting_.size() - 1});
    if (!holding_) endInsertRows();
    return lastHandle_;
}

void GameListModel::removeRow(RowHandle handle)
{
    // Rare (a removed server's kept games): the rows behind it in its group or among the waiting move up one.
    Place* place = placeOf(handle);
    if (!place) return;
    const int position = positionOf(*place);
    if (holding_)
        heldChanges_ = true;
    else
        beginRemoveRows({}, position, position);
    std::vector<Row>* rows = &waiting_;
    auto group = groups_.end();
    if (place->placed) {
        group = std::find_if(groups_.begin(), groups_.end(), [&](const RankGroup& g) { return g.rank == place->rank; });
        rows = &group->rows;
    }
    givenUpTexts_ += (*rows)[place->index].textsLength;
    rows->erase(rows->begin() + static_cast<std::ptrdiff_t>(place->index));
    for (auto it = rows->begin() + static_cast<std::ptrdiff_t>(place->index); it != rows->end(); ++it)
        --places_[static_cast<std::size_t>(it->handle - handleBase_ - 1)].index;
    if (place->placed) {
        --placedCount_;
        if (group->rows.empty()) groups_.erase(group);
    }
    place->removed = true;
    if (!holding_) endRemoveRows();
}

int GameListModel::rankOf(RowHandle handle) const
{
    const GameRecord* record = games_.find(handle);
    return record ? rank(*record) : 0;
}

const GameListModel::Place* GameListModel::placeOf(RowHandle handle) const
{
    if (handle <= handleBase_ || handle > lastHandle_) return nullptr;
    const Place& place = places_[static_cast<std::size_t>(handle - handleBase_ - 1)];
    return place.removed ? nullptr : &place;
}

GameListModel::Place* GameListModel::placeOf(RowHandle handle)
{
    return const_cast<Place*>(std::as_const(*this).placeOf(handle));
}

int GameListModel::positionOf(const Place& place) const
{
    if (!place.placed) return static_cast<int>(placedCount_ + place.index - waitingPlaced_);
    std::size_t position = place.index;
    for (const RankGroup& group : groups_) {
        if (group.rank == place.rank) break;
        position += group.rows.size();
    }
    return static_cast<int>(position);
}

int GameListModel::findRow(RowHandle handle) const
{
    const Place* place = placeOf(handle);
    return place ? positionOf(*place) : -1;
}

GameListModel::Row& GameListModel::rowAt(int position)
{
    return const_cast<Row&>(std::as_const(*this).rowAt(position));
}

const GameListModel::Row& GameListModel::rowAt(int position) const
{
    if (position < 0 || position >= rowTotal()) throw std::out_of_range("no such row in the game list");
    auto at = static_cast<std::size_t>(position);
    if (at >= placedCount_) return waiting_[waitingPlaced_ + at - placedCount_];
    for (const RankGroup& group : groups_) {
        if (at < group.rows.size()) return group.rows[at];
        at -= group.rows.size();
    }
    throw std::out_of_range("no such row in the game list"); // placedCount_ is the groups' sum
}

void GameListModel::placeRow(Place& place, int rank)
{
    // Rows of equal rank keep the order in which their texts came: the row joins the end of its group.
    auto group = std::find_if(groups_.begin(), groups_.end(), [rank](const RankGroup& g) { return g.rank <= rank; });
    if (group == groups_.end() || group->rank != rank) group = groups_.insert(group, RankGroup{rank, {}});
    group->rows.push_back(std::move(waiting_[place.index]));
    if (place.index == waitingPlaced_) {
        // The first waiting row, as in a refresh: passed over, and once none waits the list starts anew.
        if (++waitingPlaced_ == waiting_.size()) {
            waiting_.clear();
            waitingPlaced_ = 0;
        }
    } else {
        const auto from = waiting_.begin() + static_cast<std::ptrdiff_t>(place.index);
        waiting_.erase(from);
        // The rows that waited behind it move up one (there rarely is any).
        for (auto it = waiting_.begin() + static_cast<std::ptrdiff_t>(place.index); it != waiting_.end(); ++it)
            --places_[static_cast<std::size_t>(it->handle - handleBase_ - 1)].index;
    }
    place = Place{true, rank, group->rows.size() - 1};
    ++placedCount_;
}

GameListModel::Row& GameListModel::rowAt(const Place& place)
{
    if (!place.placed) return waiting_[place.index];
    const auto group =
        std::find_if(groups_.begin(), groups_.end(), [&place](const RankGroup& g) { return g.rank == place.rank; });
    return group->rows[place.index];
}

void GameListModel::setRowTexts(RowHandle handle, const std::string& caption, const std::vector<std::string>& subItems)
{
    if (holding_) {
        // Nobody looks meanwhile: the row takes its texts and its place without a word to the views.
        Place* const place = placeOf(handle);
        if (!place) return;
        storeRowTexts(rowAt(*place), caption, subItems);
        heldChanges_ = true;
        if (!place->placed) placeRow(*place, rankOf(handle));
        return;
    }
    const int position = findRow(handle);
    if (position < 0) return;
    storeRowTexts(rowAt(position), caption, subItems);
    emit dataChanged(index(position, 0), index(position, std::max(0, columnCount() - 1)));
    // Looked up after the signal, whose receivers may have changed the list.
    Place* const place = placeOf(handle);
    if (!place || place->placed) return; // already in its place; its rank does not depend on its texts

    // Its place in rank order: after every placed row of the same or a higher rank.
    const int rank = rankOf(handle);
    int to = 0;
    for (const RankGroup& group : groups_) {
        if (group.rank < rank) break;
        to += static_cast<int>(group.rows.size());
    }
    if (const int from = positionOf(*place); to != from) {
        beginMoveRows({}, from, from, {}, to);
        placeRow(*place, rank);
        endMoveRows();
    } else {
        placeRow(*place, rank);
    }
}

void GameListModel::markFriendRow(RowHandle handle)
{
    const int found = findRow(handle);
    if (found < 0) return;
    rowAt(found).friends = true;
    if (holding_) {
        heldChanges_ = true;
        return;
    }
    emit dataChanged(index(found, 0), index(found, 0));
}

void GameListModel::setRowToolTip(RowHandle handle, RowToolTip toolTip)
{
    if (holding_) {
        if (Place* const place = placeOf(handle)) {
            setToolTip(rowAt(*place), std::move(toolTip));
            heldChanges_ = true;
        }
        return;
    }
    const int found = findRow(handle);
    if (found < 0) return;
    setToolTip(rowAt(found), std::move(toolTip));
    emit dataChanged(index(found, 0), index(found, std::max(0, columnCount() - 1)), {Qt::ToolTipRole});
}

int GameListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid()) return 0;
    return holding_ ? shownRows_ : rowTotal();
}

int GameListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCount();
}

QVariant GameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = rowAt(index.row());
    const bool marked = row.friends && index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
        if (marked) return friendMark + toQt(cellText(textsOf(row), 0));
        [[fallthrough]];
    case Qt::EditRole:
        return toQt(cellText(textsOf(row), static_cast<std::size_t>(index.column())));
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
    case Qt::ToolTipRole: {
        if (!row.toolTip) return {};
        QString toolTip = toQt(row.toolTip->text());
        // A tooltip that looks like markup would be shown as markup: escaped, it shows as it stands.
        if (Qt::mightBeRichText(toolTip)) toolTip = plainToolTip(toolTip);
        return toolTip.isEmpty() ? QVariant() : QVariant(toolTip);
    }
    case textSpansRole: {
        const GameRecord* record = games_.find(row.handle);
        const auto column = static_cast<std::size_t>(index.column());
        if (!record || column >= columns_.size()) return {};
        const std::string_view shown = cellText(textsOf(row), column);
        const TextSpans spans = columnSpans(columns_[column].name, shown, *record);
        if (spans.empty()) return {};
        // The runs count in characters of the shown text, which the mark moves on.
        return spansVariant(marked ? spansWithin(spans, shown.size(), static_cast<std::size_t>(friendMark.size()))
                                   : spans);
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
    const std::string old = captionAt(at);
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
    Row& changed = rowAt(row);
    storeTexts(changed, withCaption(textsOf(changed), caption));
    if (holding_)
        heldChanges_ = true;
    else
        emit dataChanged(index(row, 0), index(row, 0));
}

RowHandle GameListModel::handleAt(int row) const
{
    return rowAt(row).handle;
}

int GameListModel::rowOf(RowHandle handle) const
{
    return findRow(handle);
}

std::string GameListModel::captionAt(int row) const
{
    return std::string(cellText(textsOf(rowAt(row)), 0));
}

std::string_view GameListModel::textsOf(const Row& row) const
{
    return std::string_view(texts_).substr(row.textsAt, row.textsLength);
}

void GameListModel::storeRowTexts(Row& row, std::string_view caption, const std::vector<std::string>& subItems)
{
    const std::size_t at = giveUpTexts(row);
    packTexts(texts_, caption, subItems);
    keepTexts(row, at);
}

void GameListModel::storeTexts(Row& row, std::string_view packed)
{
    const std::size_t at = giveUpTexts(row);
    texts_.append(packed);
    keepTexts(row, at);
}

std::size_t GameListModel::giveUpTexts(Row& row)
{
    givenUpTexts_ += row.textsLength;
    row.textsLength = 0;
    // Captions edited again and again, or rows removed, would otherwise let the block grow until the next tick.
    if (givenUpTexts_ > 65536 && givenUpTexts_ > texts_.size() / 2) compactTexts();
    return texts_.size();
}

void GameListModel::keepTexts(Row& row, std::size_t at)
{
    if (texts_.size() > std::numeric_limits<std::uint32_t>::max()) {
        texts_.resize(at);
        throw std::length_error("the game list's texts are too long");
    }
    row.textsAt = static_cast<std::uint32_t>(at);
    row.textsLength = static_cast<std::uint32_t>(texts_.size() - at);
}

void GameListModel::compactTexts()
{
    std::string kept;
    kept.reserve(texts_.size() - givenUpTexts_);
    const auto keep = [&](Row& row) {
        const std::string_view texts = textsOf(row);
        row.textsAt = static_cast<std::uint32_t>(kept.size());
        kept.append(texts);
    };
    for (RankGroup& group : groups_)
        for (Row& row : group.rows)
            keep(row);
    for (std::size_t i = waitingPlaced_; i < waiting_.size(); ++i)
        keep(waiting_[i]);
    texts_ = std::move(kept);
    givenUpTexts_ = 0;
}

void GameListModel::setToolTip(Row& row, RowToolTip toolTip)
{
    if (toolTip.empty())
        row.toolTip.reset();
    else
        row.toolTip = std::make_unique<RowToolTip>(std::move(toolTip));
}

} // namespace quintor::ui
