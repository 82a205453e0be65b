// Balloon and sound of the filter actions: the balloon at the tray icon, the sound through Qt Multimedia.
#pragma once

#include "platform/notifier.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QSystemTrayIcon;

namespace quintor::ui {

class QtNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    QtNotifier(QSystemTrayIcon& icon, QObject* parent = nullptr);

    // Shown with the information symbol, and only while the tray icon is shown: nothing is seen otherwise.
    void balloon(const std::string& title, const std::string& text) override;
    // Plays the file asynchronously; a missing or unplayable file is only reported (soundFailed). The
    // effect lives until it has played. The name is a stored text (Windows-1252), not file-system bytes.
    void playSound(const std::string& fileName) override;

    // Sounds still loading or playing.
    int soundsInProgress() const;

    static constexpr int balloonMilliseconds = 10000;

signals:
    void balloonShown(const QString& title, const QString& text);
    // A sound has ended, played or not.
    void soundFinished(const QString& fileName, bool played);
    // A sound file that is missing or cannot be played.
    void soundFailed(const QString& fileName);

private:
    QPointer<QSystemTrayIcon> icon_;
};

} // namespace quintor::ui
