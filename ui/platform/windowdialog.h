// The base of every window besides the main window: a dialog that is shown, never run. It opens
// without blocking (no nested event loop, never modal), closes the same way by its buttons, its close
// box and Escape, writes back what it edits as it closes, then tells its owner, and opens again
// where and as large as the user left it.
#pragma once

#include <QByteArray>
#include <QDialog>

#include <functional>

class QKeyEvent;

namespace quintor::ui {

class WindowDialog : public QDialog {
    Q_OBJECT
public:
    // `flags` chooses the frame: a dialog's by default; Qt::Window gives the frame of a main window.
    explicit WindowDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // Runs after the window has closed in any way and has written back what it edits. The main window
    // shows itself again from here.
    void setOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

    // Shows the window and returns at once. The first time it stands centred over its owner (over the
    // screen while the owner is hidden), whole on the screen; after that where and as large as it was
    // when it last closed. A window that is open is only raised.
    void open() override;

    // Where and how large the window was when it last closed (empty before), so that a window made anew
    // for each opening can stand where the one before it was left.
    const QByteArray& lastBounds() const { return lastBounds_; }
    void setLastBounds(const QByteArray& bounds) { lastBounds_ = bounds; }

    void setVisible(bool visible) override;

protected:
    // What closing writes back. False keeps the window open; the reason has been shown to the user.
    virtual bool writeBack() { return true; }

    // Every way of closing ends here: the close box and Escape reject, the buttons close.
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeOverOwner();

    std::function<void()> onClosed_;
    QByteArray lastBounds_;
    bool writingBack_ = false;
};

} // namespace quintor::ui
