#include "ui/editors/taledit.h"

#include "ui/platform/text.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace quintor::ui {
namespace {

constexpr int lineRole = Qt::UserRole;  // on the "Text" cell: the line as it came, in bytes
constexpr int valueRole = Qt::UserRole; // on the "Alias" cell: the value as it came, for display

QByteArray bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromBytes(const QByteArray& data)
{
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

} // namespace

Taledit::Taledit(TextList& syno, Dialogs& dialogs, QWidget* parent)
    : ClosingWindow(parent), syno_(syno), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("aledit"));
    setWindowTitle(QStringLiteral("Quintor - Aliaseditor"));
    setMinimumWindowSize(300, 250);
    resize(clientWidth, clientHeight);

    valedit = new QTableWidget(0, 2, this);
    valedit->setObjectName(QStringLiteral("valedit"));
    valedit->setHorizontalHeaderLabels({QStringLiteral("Text"), QStringLiteral("Alias")});
    valedit->verticalHeader()->hide();
    valedit->horizontalHeader()->setSectionsMovable(false);
    valedit->horizontalHeader()->setSectionsClickable(false);
    valedit->horizontalHeader()->setStretchLastSection(true);
    valedit->setColumnWidth(0, 131);
    valedit->setColumnWidth(1, 293);
    valedit->setSortingEnabled(false);
    valedit->setSelectionMode(QAbstractItemView::SingleSelection);
    valedit->setSelectionBehavior(QAbstractItemView::SelectItems);
    // The alias cells behave as if always in edit mode: a click or a key starts editing.
    valedit->setEditTriggers(QAbstractItemView::AllEditTriggers);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->resize(75, 25);
    connect(Button1, &QPushButton::clicked, this, &Taledit::Button1Click);

    Button2 = new QPushButton(QStringLiteral("Hinzuf\u00FCgen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->resize(qMax(75, Button2->sizeHint().width()), 25); // the caption is longer than "OK"
    connect(Button2, &QPushButton::clicked, this, &Taledit::Button2Click);

    FormResize();
}

void Taledit::open()
{
    showCentredOver(ownerArea());
    valedit->setRowCount(0);
    for (const auto& line : syno_.lines())
        appendLine(line);
}

void Taledit::appendLine(const std::string& line)
{
    const std::size_t eq = line.find('=');
    const std::string name = line.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);

    const int row = valedit->rowCount();
    valedit->insertRow(row);
    auto* text = new QTableWidgetItem(toQt(name));
    text->setFlags(Qt::ItemIsEnabled); // read-only, and not even selectable
    text->setData(lineRole, bytes(line));
    valedit->setItem(row, 0, text);
    auto* alias = new QTableWidgetItem(toQt(value));
    alias->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    alias->setData(valueRole, toQt(value));
    valedit->setItem(row, 1, alias);
}

void Taledit::Button2Click()
{
    const auto entered = dialogs_.input("Alias hinzuf\xFCgen", "Neuen Alias hinzuf\xFCgen f\xFCr:", "");
    if (!entered) return;
    appendLine(*entered + "= ");
    valedit->scrollToBottom();
}

void Taledit::Button1Click()
{
    close();
}

std::vector<std::string> Taledit::gridLines() const
{
    std::vector<std::string> lines;
    for (int row = 0; row < valedit->rowCount(); ++row) {
        const std::string line = fromBytes(valedit->item(row, 0)->data(lineRole).toByteArray());
        const QTableWidgetItem* alias = valedit->item(row, 1);
        if (alias->text() == alias->data(valueRole).toString()) {
            lines.push_back(line);
        } else {
            // Only the alias is edited; the text before the first "=" stays as it came.
            lines.push_back(line.substr(0, line.find('=')) + "=" + fromQt(alias->text()));
        }
    }
    return lines;
}

void Taledit::FormClose()
{
    // An alias still being typed counts: moving the current cell away commits its editor.
    valedit->setCurrentIndex(QModelIndex());
    syno_.Clear();
    for (auto& line : gridLines())
        syno_.Add(std::move(line));
}

void Taledit::resizeEvent(QResizeEvent* event)
{
    ClosingWindow::resizeEvent(event);
    FormResize();
}

void Taledit::FormResize()
{
    valedit->setGeometry(5, 5, width() - 10, height() - 5 - 35);
    const int top = valedit->height() + 10;
    Button1->move(width() - 5 - Button1->width(), top);
    Button2->move(5, top);
}

} // namespace quintor::ui
