// The controls of the notice board "Pinnwand": a label and a "-" button per notice shown.
#pragma once

#include "refresh/noticeboard.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

namespace quintor::ui {

class NoticeBoardView : public QObject {
    Q_OBJECT
public:
    // `dismiss` is the click handler of every "-" button.
    NoticeBoardView(QGroupBox& board, std::function<void(QPushButton*)> dismiss);

    // Takes away every control an earlier rebuild made; the board's own title stays.
    void clear();
    // Puts up the notices at their places, the k-th at place k.
    void show(const std::vector<Notice>& notices);

    std::vector<QLabel*> labels() const;
    std::vector<QPushButton*> buttons() const;

private:
    QGroupBox& board_;
    std::function<void(QPushButton*)> dismiss_;
    std::vector<QPointer<QLabel>> labels_;
    std::vector<QPointer<QPushButton>> buttons_;
};

} // namespace quintor::ui
