#include "ui/mainwindow/noticeboardview.h"

#include "ui/platform/text.h"
#include "ui/platform/wrappinglabel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quintor::ui {

NoticeBoardView::NoticeBoardView(QGroupBox& board, std::function<void(int number)> dismiss)
    : QObject(&board), dismiss_(std::move(dismiss))
{
    scrollArea_ = new QScrollArea(&board);
    scrollArea_->setObjectName(QStringLiteral("notices"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(true);
    // Notices wrap to the board's width; only their height may outgrow the box.
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* boardLayout = new QVBoxLayout(&board);
    boardLayout->setContentsMargins(2, 2, 2, 2);
    boardLayout->addWidget(scrollArea_);
}

void NoticeBoardView::clear()
{
    // Hidden now, deleted later: a "-" button may be the one whose click led here (through a box
    // that kept the event loop running).
    if (QWidget* old = scrollArea_->takeWidget()) {
        old->hide();
        old->deleteLater();
    }
    for (const auto& button : buttons_)
        if (button) button->setObjectName(QString()); // its name is free for the next rebuild
    labels_.clear();
    buttons_.clear();
}

void NoticeBoardView::show(const std::vector<Notice>& notices)
{
    clear();
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(4, 0, 4, 4);
    const int buttonWidth = 2 * content->fontMetrics().height();
    int row = 0;
    for (const Notice& notice : notices) {
        auto* label = new WrappingLabel(content);
        setPlainText(*label, toQt(notice.text));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* button = new QPushButton(QStringLiteral("-"), content);
        button->setObjectName(toQt(dismissButtonName(notice.number)));
        button->setFixedWidth(buttonWidth);
        connect(button, &QPushButton::clicked, this, [this, button, number = notice.number] {
            button->setEnabled(false); // stays on the board, greyed, until the next rebuild leaves it out
            dismiss_(number);
        });
        grid->addWidget(label, row, 0);
        grid->addWidget(button, row, 1, Qt::AlignTop);
        labels_.emplace_back(label);
        buttons_.emplace_back(button);
        ++row;
    }
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(row, 1);     // the notices stand at the top of a board they do not fill
    scrollArea_->setWidget(content); // once its layout is there, or it would not show
}

std::vector<QLabel*> NoticeBoardView::labels() const
{
    std::vector<QLabel*> out;
    for (const auto& label : labels_)
        if (label) out.push_back(label);
    return out;
}

std::vector<QPushButton*> NoticeBoardView::buttons() const
{
    std::vector<QPushButton*> out;
    for (const auto& button : buttons_)
        if (button) out.push_back(button);
    return out;
}

} // namespace quintor::ui
