// The prompts of the refreshes as message boxes that are shown and left standing: no nested event loop,
// the answer comes back through the box's signal while the refreshes go on.
#pragma once

#include "platform/prompts.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>

class QWidget;

namespace quintor::ui {

class QtPromptPresenter : public QObject, public PromptPresenter {
    Q_OBJECT
public:
    // Boxes stand over `owner` while it is visible, else on their own (the window is in the tray).
    explicit QtPromptPresenter(QWidget* owner, QObject* parent = nullptr);
    ~QtPromptPresenter() override;

    void present(const Prompt& prompt, std::function<void(bool yes)> answered) override;
    void withdraw() override;

    // The box on the screen, or null.
    QMessageBox* standingBox() const { return box_.data(); }

signals:
    void presented();

private:
    QPointer<QWidget> owner_;
    QPointer<QMessageBox> box_;
};

} // namespace quintor::ui
