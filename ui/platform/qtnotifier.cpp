#include "ui/platform/qtnotifier.h"

#include "ui/platform/text.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QSystemTrayIcon>
#include <QUrl>

namespace quintor::ui {

QtNotifier::QtNotifier(QSystemTrayIcon& icon, QObject* parent) : QObject(parent), icon_(&icon) {}

void QtNotifier::balloon(const std::string& title, const std::string& text)
{
    if (!icon_ || !icon_->isVisible()) return;
    const QString qtTitle = toQt(title);
    const QString qtText = toQt(text);
    // Only the body is markup for the notification service; the title is shown as it stands.
    icon_->showMessage(qtTitle, notificationText(qtText), QSystemTrayIcon::Information, balloonMilliseconds);
    emit balloonShown(qtTitle, qtText);
}

void QtNotifier::playSound(const std::string& fileName)
{
    // The name is a text of the filter file, in the program's own encoding like every stored text.
    const QString path = toQt(fileName);
    if (path.isEmpty()) return;
    const QFileInfo file(path);
    if (!file.isFile()) {
        emit soundFailed(path);
        return;
    }
    // Without an output device no sound could be heard, and an effect might wait for one for ever.
    if (QMediaDevices::defaultAudioOutput().isNull()) return;

    // Owned by the notifier until it has played or failed, so it is not cut off half-way.
    auto* effect = new QSoundEffect(this);
    effect->setObjectName(QStringLiteral("sound"));
    const QString name = file.absoluteFilePath();
    const auto finish = [this, effect, name](bool played) {
        if (effect->property("finished").toBool()) return;
        effect->setProperty("finished", true);
        effect->deleteLater();
        if (!played) emit soundFailed(name);
        emit soundFinished(name, played);
    };
    connect(effect, &QSoundEffect::statusChanged, this, [effect, finish] {
        if (effect->status() == QSoundEffect::Ready && !effect->isPlaying() && !effect->property("started").toBool()) {
            effect->setProperty("started", true);
            effect->play();
        } else if (effect->status() == QSoundEffect::Error) {
            finish(false);
        }
    });
    connect(effect, &QSoundEffect::playingChanged, this, [effect, finish] {
        if (effect->isPlaying())
            effect->setProperty("started", true);
        else if (effect->property("started").toBool())
            finish(true);
    });
    effect->setSource(QUrl::fromLocalFile(name));
}

int QtNotifier::soundsInProgress() const
{
    int count = 0;
    for (const QSoundEffect* effect : findChildren<QSoundEffect*>(QString(), Qt::FindDirectChildrenOnly))
        if (!effect->property("finished").toBool()) ++count;
    return count;
}

} // namespace quintor::ui
