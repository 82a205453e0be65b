#include "ui/mainwindow/noticeboardview.h"

#include "ui/platform/text.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace quintor::ui {

NoticeBoardView::NoticeBoardView(QGroupBox& board, std::function<void(QPushButton*)> dismiss)
    : QObject(&board), board_(board), dismiss_(std::move(dismiss))
{
}

void NoticeBoardView::clear()
{
    // Hidden now, deleted later: a "-" button may be the one whose click led here (through a box
    // that kept the event loop running).
    for (const auto& label : labels_) {
        if (!label) continue;
        label->hide();
        label->deleteLater();
    }
    for (const auto& button : buttons_) {
        if (!button) continue;
        button->hide();
        button->setObjectName(QString());
        button->deleteLater();
    }
    labels_.clear();
    buttons_.clear();
}

void NoticeBoardView::show(const std::vector<Notice>& notices)
{
    clear();
    int k = 0;
    for (const Notice& notice : notices) {
        const NoticePlace place = noticePlace(k, board_.width());
        auto* label = plainLabel(toQt(notice.text), &board_);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(place.labelLeft, place.labelTop, place.labelWidth, place.labelHeight);
        label->show();
        auto* button = new QPushButton(QStringLiteral("-"), &board_);
        button->setObjectName(toQt(dismissButtonName(notice.number)));
        button->setGeometry(place.buttonLeft, place.buttonTop, place.buttonWidth, place.buttonHeight);
        button->show();
        connect(button, &QPushButton::clicked, this, [this, button] { dismiss_(button); });
        labels_.emplace_back(label);
        buttons_.emplace_back(button);
        ++k;
    }
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
