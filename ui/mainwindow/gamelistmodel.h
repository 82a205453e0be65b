// The rows and columns of the game list, kept in rank order as the refresh adds them.
#pragma once

#include "reference/gamestore.h"
#include "refresh/views.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QHeaderView;

namespace quintor::ui {

// A record's Color (0x00BBGGRR) as the text colour of its row.
QColor rowTextColor(std::uint32_t color);
// The text colour of a row kept from a failing server's last good list: grey, or the colour a filter gave it
// drawn half-way to the list's white background.
QColor staleRowTextColor(std::uint32_t filterColour = 0);

class GameListModel : public QAbstractTableModel, public GameListView {
    Q_OBJECT
public:
    // Called when an in-place edit of a caption ends, before the caption changes; it may replace
    // the text, and the caption takes whatever it leaves.
    using EditHandler = std::function<void(RowHandle row, const std::string& oldCaption, std::string& text)>;

    // Ranks and colours come from the records of `games`, found by the row's handle.
    explicit GameListModel(const GameStore& games, QObject* parent = nullptr);

    // The header whose section widths are the columns' widths (the user may drag them).
    void setHeader(QHeaderView* header);
    void setEditHandler(EditHandler handler) { editHandler_ = std::move(handler); }
    // Captions can be edited in place only while this is on.
    void setEditable(bool editable) { editable_ = editable; }

    // GameListView
    int columnCount() const override;
    int columnWidth(int column) const override;
    void clearRows() override;
    void clearColumns() override;
    void addColumn(const std::string& caption, int width) override;
    void holdRows() override;
    void showRows() override;
    RowHandle addRow() override;
    void removeRow(RowHandle row) override;
    void setRowTexts(RowHandle row, const std::string& caption, const std::vector<std::string>& subItems) override;
    void markFriendRow(RowHandle row) override;
    void setRowToolTip(RowHandle row, RowToolTip toolTip) override;

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent) const override;
    // Besides the usual roles, textSpansRole: the host's colour and italic runs of a "Szenario", "Hoster" or
    // "Kommentar" cell that shows its game's own text (see columnSpans). A row with a friend in its game shows
    // friendMark before its caption (not while the caption is edited).
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    static inline const QString friendMark = QStringLiteral("\u2605 ");

    RowHandle handleAt(int row) const;
    // The row's position in the list, or -1 (a linear search: for tests and rare look-ups).
    int rowOf(RowHandle handle) const;
    std::string captionAt(int row) const;
    // Gives the row of `handle` a new caption; nothing when the row is gone.
    void setCaption(RowHandle handle, const std::string& caption);

private:
    // The texts stay the system's until a view asks for them: most rows of a long list are never shown.
    // A long list holds many rows: each keeps where its texts stand in texts_ and a tooltip only when it has one.
    struct Row {
        RowHandle handle = 0;
        std::uint32_t textsAt = 0;
        std::uint32_t textsLength = 0;
        std::unique_ptr<RowToolTip> toolTip; // null for none
        bool friends = false;                // a friend is in the game
    };
    struct Column {
        std::string name;
        QString caption;
        int width = 0;
    };
    // The placed rows of one rank, in the order their texts came.
    struct RankGroup {
        int rank = 0;
        std::vector<Row> rows;
    };
    // Where a row of the list is kept: in the group of its rank, or among the waiting rows.
    struct Place {
        bool placed = false;
        int rank = 0;
        std::size_t index = 0;
        bool removed = false;
    };

    // The rows the list holds, shown or not.
    int rowTotal() const { return static_cast<int>(placedCount_ + waiting_.size() - waitingPlaced_); }
    int rankOf(RowHandle handle) const;
    // The row's place, or null when the handle names no row of the list.
    const Place* placeOf(RowHandle handle) const;
    Place* placeOf(RowHandle handle);
    int positionOf(const Place& place) const;
    int findRow(RowHandle handle) const;
    Row& rowAt(int position);
    Row& rowAt(const Place& place);
    const Row& rowAt(int position) const;
    // Moves the waiting row at `place` to the end of its rank's group.
    void placeRow(Place& place, int rank);
    static void setToolTip(Row& row, RowToolTip toolTip);
    std::string_view textsOf(const Row& row) const;
    // Gives the row new texts at the end of texts_: the caption and sub items, or texts packed already.
    void storeRowTexts(Row& row, std::string_view caption, const std::vector<std::string>& subItems);
    void storeTexts(Row& row, std::string_view packed);
    // Gives up the row's texts and returns where its new ones will begin; keepTexts then gives the row the texts
    // appended since.
    std::size_t giveUpTexts(Row& row);
    void keepTexts(Row& row, std::size_t at);
    // Puts the rows' texts together again when most of texts_ is texts given up.
    void compactTexts();

    const GameStore& games_;
    QPointer<QHeaderView> header_;
    EditHandler editHandler_;
    bool editable_ = true;
    std::vector<Column> columns_;
    // Every row's texts, one after the other (the caption, then the sub items, each behind its length): a tick
    // writes them in one run instead of a block for each row, and clearing the list frees nothing row by row.
    // Texts a row gave up (a new caption, a removed row) stay until the list is cleared or compacted.
    std::string texts_;
    std::size_t givenUpTexts_ = 0;
    // The list is the groups, highest rank first (a rank takes a handful of values), then the waiting rows: rows
    // added but without texts yet, in the order they came. A row with texts joins the end of its rank's group,
    // which is its place in rank order; so placing a row costs the same however long the list is.
    std::vector<RankGroup> groups_;
    std::vector<Row> waiting_;
    // The rows at the front of waiting_ that have been placed since: a refresh's rows get their texts in the order
    // they came, and are passed over rather than erased one by one from the front of a list of dozens. A waiting
    // row's Place::index counts them too.
    std::size_t waitingPlaced_ = 0;
    std::size_t placedCount_ = 0;
    // The places of the list's rows by handle: the handles handleBase_ + 1 to lastHandle_ are the list's.
    std::vector<Place> places_;
    RowHandle handleBase_ = 0;
    RowHandle lastHandle_ = 0;
    // While rows are held, views are told nothing: they see the first shownRows_ rows, which are the rows as they
    // were shown (nothing looks at the list before the held changes are shown).
    bool holding_ = false;
    bool heldChanges_ = false;
    int shownRows_ = 0;
};

} // namespace quintor::ui
