#include "ui/editors/closingwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace quintor::ui {

ClosingWindow::ClosingWindow(QWidget* parent) : QWidget(parent, Qt::Dialog) {}

void ClosingWindow::setMinimumWindowSize(int width, int height)
{
    constexpr int frameWidth = 16;
    constexpr int frameHeight = 39;
    setMinimumSize(width - frameWidth, height - frameHeight);
}

QRect ClosingWindow::screenArea() const
{
    const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
    return on ? on->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect ClosingWindow::ownerArea() const
{
    const QWidget* owner = parentWidget();
    return owner && owner->isVisible() ? owner->frameGeometry() : screenArea();
}

void ClosingWindow::showCentredOver(const QRect& area)
{
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
    show();
    raise();
    activateWindow();
}

void ClosingWindow::closeEvent(QCloseEvent* event)
{
    // Only a window that was open has something to write back and a main window to bring back.
    if (isVisible()) {
        writeBack();
        if (onClosed_) onClosed_();
    }
    event->accept();
}

void ClosingWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace quintor::ui
