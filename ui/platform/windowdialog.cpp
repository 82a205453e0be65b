#include "ui/platform/windowdialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>

#include <algorithm>

namespace quintor::ui {

WindowDialog::WindowDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void WindowDialog::open()
{
    if (!isVisible()) {
        if (lastBounds_.isEmpty() || !restoreGeometry(lastBounds_)) placeOverOwner();
    }
    show();
    raise();
    activateWindow();
}

void WindowDialog::placeOverOwner()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const bool overOwner = owner && owner->isVisible();
    const QScreen* on = overOwner ? owner->screen() : screen();
    if (!on) on = QGuiApplication::primaryScreen();
    const QRect screenArea = on ? on->availableGeometry() : QRect();
    const QRect area = overOwner ? owner->frameGeometry() : screenArea;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    if (screenArea.isValid()) {
        // Whole on the screen; a window larger than the screen keeps its top left corner on it.
        frame.moveRight(std::min(frame.right(), screenArea.right()));
        frame.moveBottom(std::min(frame.bottom(), screenArea.bottom()));
        frame.moveLeft(std::max(frame.left(), screenArea.left()));
        frame.moveTop(std::max(frame.top(), screenArea.top()));
    }
    move(frame.topLeft());
}

void WindowDialog::setVisible(bool visible)
{
    // A dialog's buttons take Enter once focused (auto-default); these windows' buttons answer to a
    // click and the space bar only. Set before QDialog picks an auto-default button as its default; a
    // message box standing over the window keeps its own.
    if (visible) {
        for (QPushButton* button : findChildren<QPushButton*>())
            if (button->window() == this) button->setAutoDefault(false);
    }
    QDialog::setVisible(visible);
}

void WindowDialog::done(int result)
{
    // A window that is not open has nothing to write back and no owner to hand back to. A close that
    // arrives while the write-back shows a message waits for the first one's outcome.
    if (!isVisible() || writingBack_) return;
    bool written = false;
    {
        const QScopedValueRollback busy(writingBack_, true);
        written = writeBack();
    }
    if (!written) return;
    lastBounds_ = saveGeometry();
    QDialog::done(result);
    if (onClosed_) onClosed_();
}

void WindowDialog::keyPressEvent(QKeyEvent* event)
{
    // QDialog would press its default button: Enter in a text box or a list must not confirm or close
    // the window. Escape goes on to QDialog, which rejects and so ends in done().
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quintor::ui
