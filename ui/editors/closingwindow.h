// The base of the editor and details windows: a dialog-style top-level window that exists for the
// whole run, is only shown and hidden, and tells its owner when it has closed.
#pragma once

#include <QWidget>

#include <functional>

class QRect;

namespace quintor::ui {

class ClosingWindow : public QWidget {
    Q_OBJECT
public:
    explicit ClosingWindow(QWidget* parent = nullptr);

    // Runs after the window has closed in any way (its button, the close box, Escape) and has
    // written back what it edits. The main window shows itself again from here.
    void setOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

protected:
    // What closing writes back.
    virtual void writeBack() {}

    // Window minimums are given for the whole window; Qt limits the client area. A sizable window's
    // frame on the Windows desktop takes 16 pixels across and 39 down.
    void setMinimumWindowSize(int width, int height);
    // Shows the window centred over the given area (the main window, or the screen).
    void showCentredOver(const QRect& area);
    // The owner's frame when there is one, else the screen's work area.
    QRect ownerArea() const;
    QRect screenArea() const;

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> onClosed_;
};

} // namespace quintor::ui
