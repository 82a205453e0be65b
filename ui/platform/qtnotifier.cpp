#include "ui/platform/qtnotifier.h"

#include "ui/platform/text.h"
#include "ui/platform/wrappinglabel.h"

#include <QApplication>

#include <QAudioDevice>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QMouseEvent>
#include <QScreen>
#include <QSoundEffect>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#ifdef QUINTOR_NOTIFICATION_SERVICE
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

namespace quintor::ui {
namespace {

constexpr int balloonTextWidth = 320;

// The balloon at the tray icon: a tooltip-like window whose labels show their texts as they stand. A click
// closes it, and so does the time-out.
class BalloonWindow : public QFrame {
public:
    BalloonWindow(const QString& title, const QString& text)
        : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setObjectName(QStringLiteral("balloon"));
        setAttribute(Qt::WA_DeleteOnClose);
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setBackgroundRole(QPalette::ToolTipBase);
        setForegroundRole(QPalette::ToolTipText);
        setAutoFillBackground(true);

        auto* symbol = new QLabel(this);
        const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
        symbol->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side, side));
        QLabel* titleLabel = plainLabel(title, this);
        titleLabel->setObjectName(QStringLiteral("balloonTitle"));
        QFont bold = titleLabel->font();
        bold.setBold(true);
        titleLabel->setFont(bold);
        // A long word (an address, a title of one run of letters) breaks inside: a plain wrapping label cut it
        // at the side and dropped the lines after it.
        QLabel* textLabel = new WrappingLabel(this);
        setPlainText(*textLabel, text);
        textLabel->setObjectName(QStringLiteral("balloonText"));
        textLabel->setMaximumWidth(balloonTextWidth);
        for (QLabel* label : {titleLabel, textLabel})
            label->setForegroundRole(QPalette::ToolTipText);

        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(8, 6, 8, 8);
        grid->addWidget(symbol, 0, 0, Qt::AlignTop);
        grid->addWidget(titleLabel, 0, 1);
        grid->addWidget(textLabel, 1, 1);
        grid->setSizeConstraint(QLayout::SetFixedSize);

        QTimer::singleShot(QtNotifier::balloonMilliseconds, this, &QWidget::close);
    }

    // Beside the icon, on the side of the screen where there is room, and wholly on the screen.
    void showAt(const QRect& icon)
    {
        adjustSize();
        QScreen* screen = icon.isValid() ? QApplication::screenAt(icon.center()) : nullptr;
        if (!screen) screen = QApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, width(), height());
        QPoint at;
        if (icon.isValid()) {
            at.setX(icon.center().x() - width() / 2);
            at.setY(icon.center().y() < area.center().y() ? icon.bottom() + 4 : icon.top() - height() - 4);
        } else {
            at = area.bottomRight() - QPoint(width() + 8, height() + 8);
        }
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
        move(at);
        show();
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        event->accept();
        close();
    }
};

} // namespace

QtNotifier::QtNotifier(QSystemTrayIcon& icon, QObject* parent) : QObject(parent), icon_(&icon)
{
#ifdef QUINTOR_NOTIFICATION_SERVICE
    // Qt D-Bus takes the slot by its signature only (it has no pointer-to-member form). Bound to the service's
    // name, so no other program on the bus can click a button of ours.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        const QString service = QStringLiteral("org.freedesktop.Notifications");
        const QString path = QStringLiteral("/org/freedesktop/Notifications");
        bus.connect(service, path, service, QStringLiteral("ActionInvoked"), this,
                    SLOT(serviceActionInvoked(uint, QString)));
        bus.connect(service, path, service, QStringLiteral("NotificationClosed"), this,
                    SLOT(serviceNotificationClosed(uint, uint)));
    }
#endif
}

QtNotifier::~QtNotifier()
{
    delete balloonWindow_.data();
}

void QtNotifier::balloon(const std::string& title, const std::string& text, const std::optional<std::string>& joinGame)
{
    if (!balloonsSeen()) return;
    const QString qtTitle = toQt(title);
    const QString qtText = toQt(text);
#ifdef QUINTOR_NOTIFICATION_SERVICE
    if (QDBusConnection::sessionBus().isConnected())
        notifyThroughService(qtTitle, qtText, joinGame);
    else
        showBalloonWindow(qtTitle, qtText);
#else
    static_cast<void>(joinGame);
    showBalloonWindow(qtTitle, qtText);
#endif
    emit balloonShown(qtTitle, qtText);
}

bool QtNotifier::balloonsSeen() const
{
    return icon_ && icon_->isVisible();
}

void QtNotifier::serviceActionInvoked(uint id, const QString& action)
{
    const auto offer = joinOffers_.find(id);
    if (offer == joinOffers_.end() || action != QStringLiteral("join")) return;
    const std::string game = offer->second;
    joinOffers_.erase(offer);
    joinClicked(game);
}

void QtNotifier::serviceNotificationClosed(uint id, uint)
{
    joinOffers_.erase(id);
}

void QtNotifier::showBalloonWindow(const QString& title, const QString& text)
{
    delete balloonWindow_.data();
    auto* window = new BalloonWindow(title, text);
    balloonWindow_ = window;
    window->showAt(icon_ ? icon_->geometry() : QRect());
}

#ifdef QUINTOR_NOTIFICATION_SERVICE
namespace {

const QString notificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString notificationsPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage notificationsCall(const QString& method)
{
    return QDBusMessage::createMethodCall(notificationsService, notificationsPath, notificationsService, method);
}

} // namespace

void QtNotifier::notifyThroughService(const QString& title, const QString& text,
                                      const std::optional<std::string>& joinGame)
{
    // The service says whether it reads the body as markup ("body-markup") and whether it shows buttons
    // ("actions"); the summary it never reads as markup. Asking also starts a service that the bus starts on
    // demand; an error means there is none.
    auto* asked = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(notificationsCall(QStringLiteral("GetCapabilities"))), this);
    connect(asked, &QDBusPendingCallWatcher::finished, this,
            [this, title, text, joinGame](QDBusPendingCallWatcher* watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<QStringList> capabilities = *watcher;
                if (capabilities.isError()) {
                    showBalloonWindow(title, text);
                    return;
                }
                const bool markup = capabilities.value().contains(QStringLiteral("body-markup"));
                const bool join = joinGame && capabilities.value().contains(QStringLiteral("actions"));
                QDBusMessage notify = notificationsCall(QStringLiteral("Notify"));
                notify << QStringLiteral("Quintor") << 0u << QStringLiteral("dialog-information") << title
                       << (markup ? notificationText(text) : text)
                       << (join ? QStringList{QStringLiteral("join"), qtr("Beitreten")} : QStringList())
                       << QVariantMap() << balloonMilliseconds;
                auto* sent = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
                const std::string game = join ? *joinGame : std::string();
                connect(sent, &QDBusPendingCallWatcher::finished, this,
                        [this, title, text, join, game](QDBusPendingCallWatcher* reply) {
                            reply->deleteLater();
                            const QDBusPendingReply<uint> id = *reply;
                            if (id.isError()) {
                                showBalloonWindow(title, text);
                                return;
                            }
                            if (!join) return;
                            joinOffers_[id.value()] = game;
                            if (joinOffers_.size() > joinOffersKept) joinOffers_.erase(joinOffers_.begin());
                        });
            });
}
#endif

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
