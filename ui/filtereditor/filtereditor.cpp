#include "ui/filtereditor/filtereditor.h"

#include "settings/errors.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/text.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quintor::ui {
namespace {

const char* const invalidFilter = "Dieser Filter ist ung\xFCltig und kann nicht geladen werden.";
constexpr int addButtonWidth = 43;
constexpr int addButtonHeight = 25;
constexpr int buttonWidth = 75;
constexpr int buttonHeight = 25;
constexpr int combinationWidth = 200;

QString rowName(std::string_view prefix, int r)
{
    return QString::fromStdString(filterkeys::row(prefix, r));
}

void fillItems(QComboBox* box, const std::vector<std::string>& items, std::int32_t chosen)
{
    for (const auto& item : items)
        box->addItem(toQt(item));
    box->setCurrentIndex(chosen);
    // The list is narrower than its longest item; its drop-down shows every item whole.
    box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 2 * box->view()->frameWidth());
}

} // namespace

FilterEditor::FilterEditor(std::string appFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), appFolder_(std::move(appFolder)), dialogs_(dialogs), pages_(appFolder_)
{
    createControls();
}

void FilterEditor::createControls()
{
    setObjectName(QStringLiteral("filterform"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);

    introLabel_ =
        plainLabel(toQt("Hier k\xF6nnen Filter angepasst werden, nach denen Quintor Meldung ausl\xF6sen soll."), this);
    introLabel_->setObjectName(QStringLiteral("Label1"));
    introLabel_->move(8, 10);
    introLabel_->adjustSize();

    rowPanel_ = new QFrame(this);
    rowPanel_->setObjectName(QStringLiteral("pan"));
    rowPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    addRowButton_ = new QPushButton(QStringLiteral("+"), rowPanel_);
    addRowButton_->setObjectName(QStringLiteral("adder"));
    addRowButton_->resize(addButtonWidth, addButtonHeight);
    connect(addRowButton_, &QPushButton::clicked, this, [this] { guarded(dialogs_, [this] { addRow(); }); });

    pageButton_ = new QPushButton(this);
    pageButton_->setObjectName(QStringLiteral("Button1"));
    pageButton_->resize(buttonWidth, buttonHeight);
    pageButton_->setDefault(true);
    connect(pageButton_, &QPushButton::clicked, this, [this] { guarded(dialogs_, [this] { confirmPage(); }); });

    combinationBox_ = new QComboBox(this);
    combinationBox_->setObjectName(QStringLiteral("contr"));
    fillItems(combinationBox_, combinationItems(), 0);
    combinationBox_->resize(combinationWidth, combinationBox_->sizeHint().height());
    connect(combinationBox_, &QComboBox::currentIndexChanged, this, [this](int index) { pages_.setTyp(index); });

    activeBox_ = new QCheckBox(QStringLiteral("Filter aktiv"), this);
    activeBox_->setObjectName(QStringLiteral("isak"));
    activeBox_->setChecked(true);
    activeBox_->adjustSize();
    connect(activeBox_, &QCheckBox::toggled, this, [this](bool checked) { pages_.setActive(checked); });

    resize(minimumClientWidth + 10, minimumClientHeight + 40);
    showPage();
}

bool FilterEditor::loadFilter(const std::string& key)
{
    try {
        pages_.load(key);
    } catch (const std::exception&) {
        dialogs_.error(invalidFilter);
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
    setWindowTitle(conditions ? QStringLiteral("Filter - Bedingungen") : QStringLiteral("Filter - Aktionen"));
    combinationBox_->setVisible(conditions);
    pageButton_->setText(conditions ? QStringLiteral("Weiter") : QStringLiteral("OK"));
    if (conditions) {
        // Setting the controls from the page writes the same values back.
        combinationBox_->setCurrentIndex(pages_.typ());
        activeBox_->setChecked(pages_.active());
    }
    for (int r = 0; r < pages_.page().count(); ++r)
        addRowControls(r);
    placeControls();
}

void FilterEditor::addRow()
{
    addRowControls(pages_.page().addRow());
}

void FilterEditor::addRowControls(int r)
{
    const FilterPageKind kind = pages_.kind();
    const PageRow& row = pages_.page().row(r);
    RowControls c;
    c.fieldBox = new QComboBox(rowPanel_);
    fillItems(c.fieldBox, fieldItems(kind), row.values.field);
    c.choiceBox = new QComboBox(rowPanel_);
    fillItems(c.choiceBox, actItems(kind), row.values.act);
    c.textEdit = new QLineEdit(toQt(row.values.edit), rowPanel_);
    c.removeButton = new QPushButton(QStringLiteral("-"), rowPanel_);

    // Connected once the controls show the row, so only later changes reach the page.
    connect(c.fieldBox, &QComboBox::currentIndexChanged, this, [this, field = c.fieldBox](int index) {
        if (const auto n = rowOf(field, filterkeys::field)) pages_.page().setField(*n, index);
    });
    if (kind == FilterPageKind::actions) {
        // `activated` comes only from the user's choice; loading leaves both controls showing.
        connect(c.fieldBox, &QComboBox::activated, this,
                [this, field = c.fieldBox](int index) { chooseAction(field, index); });
    }
    connect(c.choiceBox, &QComboBox::currentIndexChanged, this, [this, act = c.choiceBox](int index) {
        if (const auto n = rowOf(act, filterkeys::act)) pages_.page().setAct(*n, index);
    });
    connect(c.textEdit, &QLineEdit::textChanged, this, [this, edit = c.textEdit](const QString& text) {
        if (const auto n = rowOf(edit, filterkeys::edit)) pages_.page().setEdit(*n, fromQt(text));
    });
    connect(c.removeButton, &QPushButton::clicked, this,
            [this, minus = c.removeButton] { guarded(dialogs_, [this, minus] { removeRow(minus); }); });

    rows_.push_back(c);
    placeRow(r);
    c.fieldBox->show();
    c.choiceBox->setVisible(row.shown.act);
    c.textEdit->setVisible(row.shown.edit);
    c.removeButton->show();
}

void FilterEditor::placeRow(int r)
{
    const RowControls& c = rows_.at(static_cast<std::size_t>(r));
    const RowColumns columns = rowColumns(pages_.kind());
    const int top = rowTop(r);
    c.fieldBox->setObjectName(rowName(filterkeys::field, r));
    c.choiceBox->setObjectName(rowName(filterkeys::act, r));
    c.textEdit->setObjectName(rowName(filterkeys::edit, r));
    c.removeButton->setObjectName(rowName(minusPrefix, r));
    // The lists are as wide as the text box; the columns leave 10 pixels between them.
    c.fieldBox->setGeometry(columns.field, top, editWidth, c.fieldBox->sizeHint().height());
    c.choiceBox->setGeometry(columns.act, top, editWidth, c.choiceBox->sizeHint().height());
    c.textEdit->setGeometry(columns.edit, top, editWidth, c.fieldBox->sizeHint().height());
    c.removeButton->setGeometry(columns.minus, top, addButtonWidth, minusHeight);
}

void FilterEditor::removeAllRows()
{
    for (const RowControls& c : rows_) {
        delete c.fieldBox;
        delete c.choiceBox;
        delete c.textEdit;
        delete c.removeButton;
    }
    rows_.clear();
}

void FilterEditor::removeRow(QPushButton* minus)
{
    const auto n = rowOf(minus, minusPrefix);
    if (!n || *n >= static_cast<int>(rows_.size())) return;
    const RowControls c = rows_[static_cast<std::size_t>(*n)];
    delete c.fieldBox;
    delete c.choiceBox;
    delete c.textEdit;
    // The button is still inside its own click: it goes once the click is over, nameless meanwhile.
    minus->setObjectName(QString());
    minus->hide();
    minus->deleteLater();
    rows_.erase(rows_.begin() + *n);
    pages_.page().removeRow(*n);
    for (int k = *n; k < static_cast<int>(rows_.size()); ++k)
        placeRow(k);
}

void FilterEditor::chooseAction(QComboBox* field, int action)
{
    const auto n = rowOf(field, filterkeys::field);
    if (!n) return;
    pages_.page().chooseAction(*n, action);
    const RowControls& c = rows_.at(static_cast<std::size_t>(*n));
    const RowVisibility shown = pages_.page().row(*n).shown;
    c.choiceBox->setVisible(shown.act);
    c.textEdit->setVisible(shown.edit);
}

std::optional<int> FilterEditor::rowOf(const QWidget* control, std::string_view prefix) const
{
    return rowNumberOf(control->objectName().toStdString(), prefix);
}

void FilterEditor::confirmPage()
{
    if (pages_.kind() == FilterPageKind::conditions) {
        // A failed write raises here and leaves the page as it is.
        const auto error = pages_.leaveConditions();
        showPage();
        if (error) reportError(std::make_exception_ptr(ConversionError(*error)), dialogs_);
        return;
    }
    pages_.confirmActions();
    close();
}

void FilterEditor::placeControls()
{
    const int w = width();
    const int h = height();
    rowPanel_->setGeometry(5, 35, w - 10, h - 70);
    addRowButton_->move(rowPanel_->width() - 5 - addRowButton_->width(),
                        rowPanel_->height() - 5 - addRowButton_->height());
    const int top = rowPanel_->geometry().bottom() + 1 + 5;
    pageButton_->move(w - 10 - pageButton_->width(), top);
    combinationBox_->move(5, top);
    activeBox_->move(combinationBox_->isVisibleTo(this) ? combinationBox_->geometry().right() + 1 + 5 : 5, top + 3);
}

void FilterEditor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void FilterEditor::closeEvent(QCloseEvent* event)
{
    event->accept();
    finish();
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
