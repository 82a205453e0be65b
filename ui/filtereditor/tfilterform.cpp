#include "ui/filtereditor/tfilterform.h"

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
constexpr int adderWidth = 43;
constexpr int adderHeight = 25;
constexpr int buttonWidth = 75;
constexpr int buttonHeight = 25;
constexpr int contrWidth = 200;

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

Tfilterform::Tfilterform(std::string appFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), appFolder_(std::move(appFolder)), dialogs_(dialogs), pages_(appFolder_)
{
    FormCreate();
}

void Tfilterform::FormCreate()
{
    setObjectName(QStringLiteral("filterform"));
    setMinimumSize(minimumClientWidth, minimumClientHeight);

    Label1 =
        new QLabel(toQt("Hier k\xF6nnen Filter angepasst werden, nach denen Quintor Meldung ausl\xF6sen soll."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 10);
    Label1->adjustSize();

    pan = new QFrame(this);
    pan->setObjectName(QStringLiteral("pan"));
    pan->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    adder = new QPushButton(QStringLiteral("+"), pan);
    adder->setObjectName(QStringLiteral("adder"));
    adder->resize(adderWidth, adderHeight);
    connect(adder, &QPushButton::clicked, this, [this] { guarded(dialogs_, [this] { adderClick(); }); });

    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->resize(buttonWidth, buttonHeight);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { guarded(dialogs_, [this] { Button1Click(); }); });

    contr = new QComboBox(this);
    contr->setObjectName(QStringLiteral("contr"));
    fillItems(contr, combinationItems(), 0);
    contr->resize(contrWidth, contr->sizeHint().height());
    connect(contr, &QComboBox::currentIndexChanged, this, [this](int index) { pages_.setTyp(index); });

    isak = new QCheckBox(QStringLiteral("Filter aktiv"), this);
    isak->setObjectName(QStringLiteral("isak"));
    isak->setChecked(true);
    isak->adjustSize();
    connect(isak, &QCheckBox::toggled, this, [this](bool checked) { pages_.setActive(checked); });

    resize(minimumClientWidth + 10, minimumClientHeight + 40);
    showPage();
}

bool Tfilterform::updatefil(const std::string& key)
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

void Tfilterform::showPage()
{
    const bool conditions = pages_.kind() == FilterPageKind::conditions;
    removeAllRows();
    setWindowTitle(conditions ? QStringLiteral("Filter - Bedingungen") : QStringLiteral("Filter - Aktionen"));
    contr->setVisible(conditions);
    Button1->setText(conditions ? QStringLiteral("Weiter") : QStringLiteral("OK"));
    if (conditions) {
        // Setting the controls from the page writes the same values back.
        contr->setCurrentIndex(pages_.typ());
        isak->setChecked(pages_.active());
    }
    for (int r = 0; r < pages_.page().count(); ++r)
        addRowControls(r);
    FormResize();
}

void Tfilterform::adderClick()
{
    addRowControls(pages_.page().addRow());
}

void Tfilterform::addRowControls(int r)
{
    const FilterPageKind kind = pages_.kind();
    const PageRow& row = pages_.page().row(r);
    RowControls c;
    c.field = new QComboBox(pan);
    fillItems(c.field, fieldItems(kind), row.values.field);
    c.act = new QComboBox(pan);
    fillItems(c.act, actItems(kind), row.values.act);
    c.edit = new QLineEdit(toQt(row.values.edit), pan);
    c.minus = new QPushButton(QStringLiteral("-"), pan);

    // Connected once the controls show the row, so only later changes reach the page.
    connect(c.field, &QComboBox::currentIndexChanged, this, [this, field = c.field](int index) {
        if (const auto n = rowOf(field, filterkeys::field)) pages_.page().setField(*n, index);
    });
    if (kind == FilterPageKind::actions) {
        // `activated` comes only from the user's choice; loading leaves both controls showing.
        connect(c.field, &QComboBox::activated, this,
                [this, field = c.field](int index) { fieldactselect(field, index); });
    }
    connect(c.act, &QComboBox::currentIndexChanged, this, [this, act = c.act](int index) {
        if (const auto n = rowOf(act, filterkeys::act)) pages_.page().setAct(*n, index);
    });
    connect(c.edit, &QLineEdit::textChanged, this, [this, edit = c.edit](const QString& text) {
        if (const auto n = rowOf(edit, filterkeys::edit)) pages_.page().setEdit(*n, fromQt(text));
    });
    connect(c.minus, &QPushButton::clicked, this,
            [this, minus = c.minus] { guarded(dialogs_, [this, minus] { minusclick(minus); }); });

    rows_.push_back(c);
    placeRow(r);
    c.field->show();
    c.act->setVisible(row.shown.act);
    c.edit->setVisible(row.shown.edit);
    c.minus->show();
}

void Tfilterform::placeRow(int r)
{
    const RowControls& c = rows_.at(static_cast<std::size_t>(r));
    const RowColumns columns = rowColumns(pages_.kind());
    const int top = rowTop(r);
    c.field->setObjectName(rowName(filterkeys::field, r));
    c.act->setObjectName(rowName(filterkeys::act, r));
    c.edit->setObjectName(rowName(filterkeys::edit, r));
    c.minus->setObjectName(rowName(minusPrefix, r));
    // The lists are as wide as the text box; the columns leave 10 pixels between them.
    c.field->setGeometry(columns.field, top, editWidth, c.field->sizeHint().height());
    c.act->setGeometry(columns.act, top, editWidth, c.act->sizeHint().height());
    c.edit->setGeometry(columns.edit, top, editWidth, c.field->sizeHint().height());
    c.minus->setGeometry(columns.minus, top, adderWidth, minusHeight);
}

void Tfilterform::removeAllRows()
{
    for (const RowControls& c : rows_) {
        delete c.field;
        delete c.act;
        delete c.edit;
        delete c.minus;
    }
    rows_.clear();
}

void Tfilterform::minusclick(QPushButton* minus)
{
    const auto n = rowOf(minus, minusPrefix);
    if (!n || *n >= static_cast<int>(rows_.size())) return;
    const RowControls c = rows_[static_cast<std::size_t>(*n)];
    delete c.field;
    delete c.act;
    delete c.edit;
    // The button is still inside its own click: it goes once the click is over, nameless meanwhile.
    minus->setObjectName(QString());
    minus->hide();
    minus->deleteLater();
    rows_.erase(rows_.begin() + *n);
    pages_.page().removeRow(*n);
    for (int k = *n; k < static_cast<int>(rows_.size()); ++k)
        placeRow(k);
}

void Tfilterform::fieldactselect(QComboBox* field, int action)
{
    const auto n = rowOf(field, filterkeys::field);
    if (!n) return;
    pages_.page().chooseAction(*n, action);
    const RowControls& c = rows_.at(static_cast<std::size_t>(*n));
    const RowVisibility shown = pages_.page().row(*n).shown;
    c.act->setVisible(shown.act);
    c.edit->setVisible(shown.edit);
}

std::optional<int> Tfilterform::rowOf(const QWidget* control, std::string_view prefix) const
{
    return rowNumberOf(control->objectName().toStdString(), prefix);
}

void Tfilterform::Button1Click()
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

void Tfilterform::FormResize()
{
    const int w = width();
    const int h = height();
    pan->setGeometry(5, 35, w - 10, h - 70);
    adder->move(pan->width() - 5 - adder->width(), pan->height() - 5 - adder->height());
    const int top = pan->geometry().bottom() + 1 + 5;
    Button1->move(w - 10 - Button1->width(), top);
    contr->move(5, top);
    isak->move(contr->isVisibleTo(this) ? contr->geometry().right() + 1 + 5 : 5, top + 3);
}

void Tfilterform::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void Tfilterform::closeEvent(QCloseEvent* event)
{
    event->accept();
    finish();
}

void Tfilterform::finish()
{
    if (finished_) return;
    finished_ = true;
    hide();
    emit closed();
    deleteLater();
}

} // namespace quintor::ui
