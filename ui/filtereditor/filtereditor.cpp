#include "ui/filtereditor/filtereditor.h"
#include "settings/translate.h"

#include "filters/filterpreview.h"
#include "settings/errors.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/styledtext.h"
#include "ui/platform/text.h"
#include "ui/platform/windowlayout.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollArea>

#include <algorithm>

namespace quintor::ui {
namespace {

const char* const invalidFilter = untranslated("Dieser Filter ist ung\xFCltig und kann nicht geladen werden.");
constexpr int addButtonWidth = 43;
constexpr int combinationWidth = 200;
// A row's lists and text box are equally wide, ten pixels apart; rows follow every 30 pixels.
constexpr int rowControlWidth = 145;
constexpr int columnSpacing = 10;
constexpr int rowSpacing = 8;
constexpr int minusHeight = 21;
constexpr int markWidth = 16;

QString rowName(std::string_view prefix, int r)
{
    return QString::fromStdString(keys::numbered(prefix, r));
}

void fillItems(QComboBox* box, const std::vector<std::string>& items, std::int32_t chosen)
{
    for (const auto& item : items)
        box->addItem(toQt(translateText(item)));
    box->setCurrentIndex(chosen);
    // The list is narrower than its longest item; its drop-down shows every item whole.
    box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 2 * box->view()->frameWidth());
}

} // namespace

FilterEditor::FilterEditor(std::string appFolder, Dialogs& dialogs, bool savesNothing, QWidget* parent)
    : WindowDialog(parent, Qt::Window), appFolder_(std::move(appFolder)), dialogs_(dialogs),
      pages_(appFolder_, savesNothing)
{
    createControls();
    // Closing saves nothing: only the page buttons do.
    setOnClosed([this] { finish(); });
}

void FilterEditor::createControls()
{
    setObjectName(QStringLiteral("filterform"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);

    introLabel_ = plainLabel(
        toQt(quintor::tr("Hier k\xF6nnen Filter angepasst werden, nach denen Quintor Meldung ausl\xF6sen soll.")),
        this);
    introLabel_->setObjectName(QStringLiteral("Label1"));

    pageButton_ = new QPushButton(this);
    pageButton_->setObjectName(QStringLiteral("Button1"));
    pageButton_->setDefault(true);
    sizeButton(pageButton_);
    connect(pageButton_, &QPushButton::clicked, this, [this] { guarded(dialogs_, [this] { confirmPage(); }); });

    combinationBox_ = new QComboBox(this);
    combinationBox_->setObjectName(QStringLiteral("contr"));
    fillItems(combinationBox_, combinationItems(), 0);
    combinationBox_->setFixedWidth(combinationWidth);
    connect(combinationBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        pages_.setTyp(index);
        updatePreview();
    });

    activeBox_ = new QCheckBox(qtr("Filter aktiv"), this);
    activeBox_->setObjectName(QStringLiteral("isak"));
    activeBox_->setChecked(true);
    connect(activeBox_, &QCheckBox::toggled, this, [this](bool checked) {
        pages_.setActive(checked);
        updatePreview();
    });

    onceBox_ = new QCheckBox(toQt(quintor::tr("Nur einmal pro Spiel melden")), this);
    onceBox_->setObjectName(QStringLiteral("once"));
    onceBox_->setChecked(pages_.once());
    connect(onceBox_, &QCheckBox::toggled, this, [this](bool checked) { pages_.setOnce(checked); });

    QVBoxLayout* column = windowColumn(this);
    // The introduction stands a little apart from the window's edge and from the rows.
    column->addSpacing(windowMargin);
    auto* intro = controlRow();
    intro->addSpacing(3);
    intro->addWidget(introLabel_);
    column->addLayout(intro);
    column->addSpacing(windowMargin);
    column->addWidget(createRowPanel(), 1);
    QHBoxLayout* bottom = controlRow();
    bottom->addWidget(combinationBox_);
    bottom->addWidget(activeBox_);
    bottom->addWidget(onceBox_);
    bottom->addStretch(1);
    bottom->addWidget(pageButton_);
    column->addLayout(bottom);

    // Room for a few rows and the preview below them.
    resize(minimumClientWidth + 10, minimumClientHeight + 140);
    showPage();
}

QWidget* FilterEditor::createRowPanel()
{
    rowPanel_ = new QFrame(this);
    rowPanel_->setObjectName(QStringLiteral("pan"));
    rowPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    // The rows scroll when there are more than the panel can show; "+" stays in its corner.
    auto* scroller = new QScrollArea(rowPanel_);
    scroller->setFrameStyle(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    rowArea_ = new QWidget(scroller);
    rowArea_->setObjectName(QStringLiteral("rows"));
    scroller->setWidget(rowArea_);

    addRowButton_ = new QPushButton(QStringLiteral("+"), rowPanel_);
    addRowButton_->setObjectName(QStringLiteral("adder"));
    sizeButton(addRowButton_, addButtonWidth);
    connect(addRowButton_, &QPushButton::clicked, this, [this] { guarded(dialogs_, [this] { addRow(); }); });

    // What the conditions catch in the games last shown, below the rows; never wider than the panel. The titles
    // show in their hosts' colours, drawn as plain text.
    previewLines_ = new StyledLinesView(rowPanel_);
    previewLines_->setObjectName(QStringLiteral("preview"));
    previewLines_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* inside = new QVBoxLayout(rowPanel_);
    // Together with the panel's one-pixel frame, five pixels from its edge.
    inside->setContentsMargins(windowMargin - 1, windowMargin - 1, windowMargin - 1, windowMargin - 1);
    inside->setSpacing(windowMargin);
    inside->addWidget(scroller, 1);
    auto* below = new QHBoxLayout;
    below->setSpacing(windowMargin);
    below->addWidget(previewLines_, 1);
    below->addWidget(addRowButton_, 0, Qt::AlignRight | Qt::AlignBottom);
    inside->addLayout(below);
    layOutRows();
    return rowPanel_;
}

bool FilterEditor::loadFilter(const std::string& key)
{
    try {
        pages_.load(key);
    } catch (const std::exception&) {
        dialogs_.error(quintor::tr(invalidFilter));
        finish();
        return false;
    }
    showPage();
    return true;
}

void FilterEditor::showPage()
{
    const bool conditions = pages_.kind() == FilterPageKind::conditions;
    removeAllRows();
    setWindowTitle(conditions ? qtr("Filter - Bedingungen") : qtr("Filter - Aktionen"));
    combinationBox_->setVisible(conditions);
    onceBox_->setVisible(conditions);
    pageButton_->setText(conditions ? qtr("Weiter") : QStringLiteral("OK"));
    if (conditions) {
        // Setting the controls from the page writes the same values back.
        combinationBox_->setCurrentIndex(pages_.typ());
        activeBox_->setChecked(pages_.active());
        onceBox_->setChecked(pages_.once());
    }
    for (int r = 0; r < pages_.page().count(); ++r)
        addRowControls(r);
    updatePreview();
    // The controls stand where the new page has them right away, not only after the next event.
    layout()->activate();
}

void FilterEditor::addRow()
{
    addRowControls(pages_.page().addRow());
    updatePreview();
}

void FilterEditor::setShownGames(ShownGames games)
{
    shownGames_ = std::move(games);
    updatePreview();
}

void FilterEditor::updatePreview()
{
    const bool conditions = pages_.kind() == FilterPageKind::conditions;
    previewLines_->setVisible(conditions);
    if (!conditions) return;
    const std::vector<GameRecord>* games = shownGames_.get();
    const FilterPreview preview = previewFilter(pages_.conditions(), games);
    std::vector<StyledLinesView::Line> lines;
    for (PreviewLine& line : previewLines(preview, games))
        lines.push_back({toQt(line.text), std::move(line.spans)});
    previewLines_->setLines(std::move(lines));
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        QLabel* mark = rows_[r].mark;
        if (!preview.gamesLoaded || r >= preview.rows.size()) {
            mark->clear();
            mark->setToolTip(QString());
            continue;
        }
        const bool holds = preview.rows[r].holds;
        setPlainText(*mark, holds ? QStringLiteral("\u2713") : QStringLiteral("\u2717"));
        QPalette colours = mark->palette();
        colours.setColor(QPalette::WindowText, holds ? QColor(0x1a, 0x7f, 0x1a) : QColor(0xc0, 0x39, 0x2b));
        mark->setPalette(colours);
        mark->setToolTip(plainToolTip(toQt(rowToolTip(preview, r))));
    }
}

void FilterEditor::addRowControls(int r)
{
    const FilterPageKind kind = pages_.kind();
    const PageRow& row = pages_.page().row(r);
    RowControls c;
    c.fieldBox = new QComboBox(rowArea_);
    fillItems(c.fieldBox, fieldItems(kind), row.values.field);
    c.choiceBox = new QComboBox(rowArea_);
    fillItems(c.choiceBox, actItems(kind), row.values.act);
    c.textEdit = new QLineEdit(toQt(row.values.edit), rowArea_);
    c.removeButton = new QPushButton(QStringLiteral("-"), rowArea_);
    c.mark = plainLabel(QString(), rowArea_);
    c.mark->setFixedWidth(markWidth);
    QFont markFont = c.mark->font();
    markFont.setBold(true);
    c.mark->setFont(markFont);
    c.mark->setAlignment(Qt::AlignCenter);
    for (QWidget* control : std::initializer_list<QWidget*>{c.fieldBox, c.choiceBox, c.textEdit})
        control->setFixedWidth(rowControlWidth);
    c.removeButton->setFixedSize(addButtonWidth, minusHeight);
    // Rows come and go while the window stands: Enter does not press this one either.
    c.removeButton->setAutoDefault(false);

    // Connected once the controls show the row, so only later changes reach the page.
    connect(c.fieldBox, &QComboBox::currentIndexChanged, this, [this, field = c.fieldBox](int index) {
        if (const auto n = rowOf(field)) pages_.page().setField(*n, index);
        updatePreview();
    });
    if (kind == FilterPageKind::actions) {
        // `activated` comes only from the user's choice; loading leaves both controls showing.
        connect(c.fieldBox, &QComboBox::activated, this,
                [this, field = c.fieldBox](int index) { chooseAction(field, index); });
    }
    connect(c.choiceBox, &QComboBox::currentIndexChanged, this, [this, act = c.choiceBox](int index) {
        if (const auto n = rowOf(act)) pages_.page().setAct(*n, index);
        updatePreview();
    });
    connect(c.textEdit, &QLineEdit::textChanged, this, [this, edit = c.textEdit](const QString& text) {
        if (const auto n = rowOf(edit)) pages_.page().setEdit(*n, fromQt(text));
        updatePreview();
    });
    connect(c.removeButton, &QPushButton::clicked, this,
            [this, minus = c.removeButton] { guarded(dialogs_, [this, minus] { removeRow(minus); }); });

    rows_.push_back(c);
    layOutRows();
    c.fieldBox->show();
    c.removeButton->show();
    c.choiceBox->setVisible(row.shown.act);
    c.textEdit->setVisible(row.shown.edit);
    c.mark->setVisible(kind == FilterPageKind::conditions);
}

void FilterEditor::layOutRows()
{
    // A grid keeps the cells of removed rows: a fresh one holds exactly the rows there are.
    delete rowGrid_;
    rowGrid_ = new QGridLayout(rowArea_);
    rowGrid_->setContentsMargins(windowMargin, windowMargin, windowMargin, windowMargin);
    rowGrid_->setHorizontalSpacing(columnSpacing);
    rowGrid_->setVerticalSpacing(rowSpacing);
    // The text box and the datum list change places on the actions page.
    const bool conditions = pages_.kind() == FilterPageKind::conditions;
    const int actColumn = conditions ? 1 : 2;
    const int editColumn = conditions ? 2 : 1;
    for (int column = 0; column < 3; ++column)
        rowGrid_->setColumnMinimumWidth(column, rowControlWidth); // a column of hidden controls keeps its place
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int r = static_cast<int>(i);
        const RowControls& c = rows_[i];
        c.fieldBox->setObjectName(rowName(filterkeys::field, r));
        c.choiceBox->setObjectName(rowName(filterkeys::act, r));
        c.textEdit->setObjectName(rowName(filterkeys::edit, r));
        c.removeButton->setObjectName(rowName("minus", r));
        c.mark->setObjectName(rowName("mark", r));
        rowGrid_->addWidget(c.fieldBox, r, 0);
        rowGrid_->addWidget(c.choiceBox, r, actColumn);
        rowGrid_->addWidget(c.textEdit, r, editColumn);
        rowGrid_->addWidget(c.removeButton, r, 3);
        rowGrid_->addWidget(c.mark, r, 4);
    }
    const int count = static_cast<int>(rows_.size());
    rowGrid_->setRowStretch(count, 1);
    rowGrid_->setColumnStretch(5, 1);
}

void FilterEditor::removeAllRows()
{
    for (const RowControls& c : rows_) {
        delete c.fieldBox;
        delete c.choiceBox;
        delete c.textEdit;
        delete c.removeButton;
        delete c.mark;
    }
    rows_.clear();
    layOutRows();
}

void FilterEditor::removeRow(QPushButton* minus)
{
    const auto n = rowOf(minus);
    if (!n) return;
    const RowControls c = rows_[static_cast<std::size_t>(*n)];
    delete c.fieldBox;
    delete c.choiceBox;
    delete c.textEdit;
    delete c.mark;
    // The button is still inside its own click: it goes once the click is over, nameless meanwhile.
    minus->setObjectName(QString());
    minus->hide();
    minus->deleteLater();
    rows_.erase(rows_.begin() + *n);
    pages_.page().removeRow(*n);
    layOutRows();
    updatePreview();
}

void FilterEditor::chooseAction(QComboBox* field, int action)
{
    const auto n = rowOf(field);
    if (!n) return;
    pages_.page().chooseAction(*n, action);
    const RowControls& c = rows_.at(static_cast<std::size_t>(*n));
    const RowVisibility shown = pages_.page().row(*n).shown;
    c.choiceBox->setVisible(shown.act);
    c.textEdit->setVisible(shown.edit);
}

std::optional<int> FilterEditor::rowOf(const QWidget* control) const
{
    const auto holds = [control](const RowControls& c) {
        return c.fieldBox == control || c.choiceBox == control || c.textEdit == control || c.removeButton == control;
    };
    const auto found = std::find_if(rows_.begin(), rows_.end(), holds);
    if (found == rows_.end()) return std::nullopt;
    return static_cast<int>(found - rows_.begin());
}

void FilterEditor::confirmPage()
{
    if (pages_.kind() == FilterPageKind::conditions) {
        // A failed write raises here and leaves the page as it is.
        const auto error = pages_.leaveConditions();
        if (pages_.conditionsChanged()) emit conditionsChanged(pages_.key());
        showPage();
        if (error) reportError(std::make_exception_ptr(ConversionError(*error)), dialogs_);
        return;
    }
    pages_.confirmActions();
    close();
}

void FilterEditor::finish()
{
    if (finished_) return;
    finished_ = true;
    hide();
    emit closed();
    deleteLater();
}

} // namespace quintor::ui
