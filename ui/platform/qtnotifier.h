// Balloon and sound of the filter actions: the balloon through the desktop's notification service, or as a
// window of its own at the tray icon; the sound through Qt Multimedia.
#pragma once

#include "platform/notifier.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <optional>
#include <string>

class QSystemTrayIcon;

namespace quintor::ui {

class QtNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    QtNotifier(QSystemTrayIcon& icon, QObject* parent = nullptr);
    ~QtNotifier() override;

    // Shown with the information symbol, and only while the tray icon is shown: nothing is seen otherwise.
    // Both texts read exactly as given, markup included. With a notification service on the session bus the
    // balloon is its notification (the body escaped only when the service reads it as markup); without one,
    // a window of ours at the icon whose labels take no markup. Qt's own balloon guesses rich text and is not
    // used. Nothing waits for the service: its answers come back through the event loop.
    // A balloon that offers to join its game carries the button "Beitreten" where the service announces
    // "actions"; a click on it reaches the join handler. The window of ours shows no button.
    void balloon(const std::string& title, const std::string& text,
                 const std::optional<std::string>& joinGame) override;
    bool balloonsSeen() const override;
    // Plays the file asynchronously; a missing or unplayable file is only reported (soundFailed). The
    // effect lives until it has played. The name is a stored text (Windows-1252), not file-system bytes.
    void playSound(const std::string& fileName) override;

    // Sounds still loading or playing.
    int soundsInProgress() const;

    // The balloon window while it is shown (none while the notification service shows the balloon).
    QWidget* balloonWindow() const { return balloonWindow_.data(); }

    static constexpr int balloonMilliseconds = 10000;
    // Notifications whose button may still be clicked: the oldest are forgotten beyond this many, in case a
    // service never says that one has closed.
    static constexpr std::size_t joinOffersKept = 32;

signals:
    void balloonShown(const QString& title, const QString& text);
    // A sound has ended, played or not.
    void soundFinished(const QString& fileName, bool played);
    // A sound file that is missing or cannot be played.
    void soundFailed(const QString& fileName);

private slots:
    // The notification service's signals.
    void serviceActionInvoked(uint id, const QString& action);
    void serviceNotificationClosed(uint id, uint reason);

private:
    void notifyThroughService(const QString& title, const QString& text, const std::optional<std::string>& joinGame);
    void showBalloonWindow(const QString& title, const QString& text);

    QPointer<QSystemTrayIcon> icon_;
    QPointer<QWidget> balloonWindow_;
    std::map<uint, std::string> joinOffers_; // notification id -> the game its "Beitreten" joins
};

} // namespace quintor::ui
