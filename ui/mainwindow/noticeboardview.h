// The controls of the notice board "Pinnwand": a label and a "-" button per notice shown, one notice
// under the other, each as tall as its text needs; the board scrolls when they do not fit.
#pragma once

#include "refresh/noticeboard.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

namespace quintor::ui {

class NoticeBoardView : public QObject {
    Q_OBJECT
public:
    // `dismiss` gets the number of the notice whose "-" button was clicked; the button is greyed at
    // once and stays until the next rebuild leaves its notice out. The board gets its layout here.
    NoticeBoardView(QGroupBox& board, std::function<void(int number)> dismiss);

    // Takes away every control an earlier rebuild made; the board's own title stays.
    void clear();
    // Puts up the notices in their order, each with its "-" button beside it.
    void show(const std::vector<Notice>& notices);

    std::vector<QLabel*> labels() const;
    std::vector<QPushButton*> buttons() const;
    QScrollArea& scrollArea() const { return *scrollArea_; }

private:
    std::function<void(int number)> dismiss_;
    QScrollArea* scrollArea_ = nullptr;
    std::vector<QPointer<QLabel>> labels_;
    std::vector<QPointer<QPushButton>> buttons_;
};

} // namespace quintor::ui
