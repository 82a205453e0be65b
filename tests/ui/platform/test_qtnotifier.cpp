// The balloon reads exactly as the text it was given, markup included, on both of its paths: as the
// notification of a service on the session bus (run under dbus-run-session, with a stand-in service), and as
// the window at the tray icon when there is no service or no bus. Qt's own balloon showed "A &amp; B" there.
// A balloon about a game carries "Beitreten" where the service shows buttons, and a click joins the game.
#include "monitor/monitor.h"
#include "support/fakes.h"
#include "support/replies.h"
#include "support/tempfolder.h"
#include "ui/platform/qtnotifier.h"
#include "ui/platform/text.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QtTest>

using namespace quintor;

namespace {

const QString kTitle = QStringLiteral("Quintor - Filterbenachrichtigung");
const QStringList kTexts = {QStringLiteral("A & B <b>fett</b>"), QStringLiteral("<img src=/dev/zero> &amp; x"),
                            QStringLiteral("1 < 2 > 0")};

// The desktop's notification service as far as the balloon uses it; it says whether it reads markup.
class StandInService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList capabilities;
    QStringList summaries;
    QStringList bodies;
    QList<QStringList> actions;

public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& buttons, const QVariantMap&, int)
    {
        summaries << summary;
        bodies << body;
        actions << buttons;
        return static_cast<uint>(bodies.size()) + 100;
    }
};

// The test's own connection to the private bus, that owns the service's name while it lives.
class ServiceOnTheBus {
public:
    explicit ServiceOnTheBus(QStringList capabilities)
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("service")))
    {
        service.capabilities = std::move(capabilities);
        registered =
            bus_.registerObject(path(), &service, QDBusConnection::ExportAllSlots) && bus_.registerService(name());
    }
    ~ServiceOnTheBus()
    {
        bus_.unregisterService(name());
        bus_.unregisterObject(path());
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    }
    // The user clicks the button `action` of the notification `id`.
    void click(uint id, const QString& action)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path(), name(), QStringLiteral("ActionInvoked"));
        signal << id << action;
        bus_.send(signal);
    }

    StandInService service;
    bool registered = false;

private:
    static QString name() { return QStringLiteral("org.freedesktop.Notifications"); }
    static QString path() { return QStringLiteral("/org/freedesktop/Notifications"); }
    QDBusConnection bus_;
};

// One reply: Anna's game, with a host to join.
class AnnasGame : public HttpClient {
public:
    std::string get(const std::string&, const HttpOptions&) override
    {
        test::GameSpec game{.title = "Greed Arena"};
        game.playerNames = {"Anna"};
        return test::replyHeader() + test::referenceBlock(game);
    }
};

// The program without its window, for the balloons of the tray below.
struct Program {
    test::TempFolder folder;
    AnnasGame http;
    test::FixedClock clock;
    test::RecordingStarter starter;
    test::ScriptedDialogs dialogs;
    test::ScriptedPresenter presenter;
    test::RecordingListView list;
    test::RecordingMainView view;
    Monitor monitor{{folder.path(), http, clock, starter, "http://league.example/server"}};

    explicit Program(Notifier& notifier)
    {
        folder.write("Clonk.exe", "");
        folder.write("config.txt", "crdir=" + folder.path() + "\r\n");
        folder.write("friends.txt", "anna\r\n");
        monitor.attach({dialogs, presenter, notifier, list, view});
        monitor.startUp();
        monitor.finishStartUp();
    }
};

// What the service shows of a body it reads as markup.
QString shownMarkup(const QString& body)
{
    QTextDocument document;
    document.setHtml(body);
    return document.toPlainText();
}

struct Tray {
    QSystemTrayIcon icon;
    ui::QtNotifier notifier{icon};
    Tray()
    {
        icon.setIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
        icon.show();
    }
};

} // namespace

class TestQtNotifier : public QObject {
    Q_OBJECT
private slots:
    void theWindowAtTheIconShowsTheTextsAsTheyStand()
    {
        // On the bus run nothing answers for the service here, so the window takes its place as well.
        for (const QString& text : kTexts) {
            Tray tray;
            tray.notifier.balloon(ui::fromQt(kTitle), ui::fromQt(text), "Greed Arena\nHost0\n120");
            QTRY_VERIFY(tray.notifier.balloonWindow() && tray.notifier.balloonWindow()->isVisible());
            for (const auto& [name, expected] : {std::pair{"balloonTitle", kTitle}, std::pair{"balloonText", text}}) {
                auto* label = tray.notifier.balloonWindow()->findChild<QLabel*>(QString::fromLatin1(name));
                QVERIFY(label);
                QCOMPARE(label->textFormat(), Qt::PlainText);
                QCOMPARE(label->text(), expected);
            }
            // The window offers no button: a click closes it.
            QVERIFY(tray.notifier.balloonWindow()->findChildren<QPushButton*>().isEmpty());
        }
    }

    // A word wider than the window (an address, a title of one run of letters) breaks inside it: the label
    // stays in the window's width and grows in height, so nothing after the word is cut off.
    void theWindowWrapsAWordWiderThanItself()
    {
        Tray tray;
        const QString text = QStringLiteral("http://example.org/") + QString(200, u'x') + QStringLiteral(" Ende");
        tray.notifier.balloon(ui::fromQt(kTitle), ui::fromQt(text), std::nullopt);
        QTRY_VERIFY(tray.notifier.balloonWindow() && tray.notifier.balloonWindow()->isVisible());
        auto* label = tray.notifier.balloonWindow()->findChild<QLabel*>(QStringLiteral("balloonText"));
        QVERIFY(label);
        const int wordWidth = label->fontMetrics().horizontalAdvance(QString(200, u'x'));
        QVERIFY(label->width() < wordWidth);
        // The word alone needs more lines than its width over the label's; " Ende" one more at most.
        const int linesNeeded = wordWidth / label->width() + 1;
        QVERIFY(label->height() >= linesNeeded * label->fontMetrics().lineSpacing());
        QVERIFY(tray.notifier.balloonWindow()->height() > label->height());
    }

    void theServiceShowsTheTextsAsTheyStand_data()
    {
        QTest::addColumn<bool>("markup");
        QTest::newRow("service reads markup") << true;
        QTest::newRow("service shows plain text") << false;
    }

    void theServiceShowsTheTextsAsTheyStand()
    {
        QFETCH(bool, markup);
        if (!QDBusConnection::sessionBus().isConnected()) QSKIP("no session bus (run under dbus-run-session)");
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("service"));
        StandInService service;
        service.capabilities = markup ? QStringList{QStringLiteral("body"), QStringLiteral("body-markup")}
                                      : QStringList{QStringLiteral("body")};
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));

        Tray tray;
        for (const QString& text : kTexts)
            tray.notifier.balloon(ui::fromQt(kTitle), ui::fromQt(text), std::nullopt);
        QTRY_COMPARE(service.bodies.size(), kTexts.size());
        QCOMPARE(service.summaries, QStringList(kTexts.size(), kTitle));
        for (int i = 0; i < kTexts.size(); ++i)
            QCOMPARE(markup ? shownMarkup(service.bodies[i]) : service.bodies[i], kTexts[i]);
        QVERIFY(!tray.notifier.balloonWindow());

        bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    }

    void aFriendsBalloonJoinsHerGameWhereTheServiceShowsButtons_data()
    {
        QTest::addColumn<bool>("buttons");
        QTest::newRow("service shows buttons") << true;
        QTest::newRow("service shows no buttons") << false;
    }

    void aFriendsBalloonJoinsHerGameWhereTheServiceShowsButtons()
    {
        QFETCH(bool, buttons);
        if (!QDBusConnection::sessionBus().isConnected()) QSKIP("no session bus (run under dbus-run-session)");
        ServiceOnTheBus bus(buttons ? QStringList{QStringLiteral("body"), QStringLiteral("actions")}
                                    : QStringList{QStringLiteral("body")});
        QVERIFY(bus.registered);
        Tray tray;
        Program program(tray.notifier);
        program.monitor.requestTick();
        QTRY_COMPARE(bus.service.bodies.size(), 1);
        QCOMPARE(bus.service.summaries[0], QStringLiteral("Quintor - Freunde"));
        QCOMPARE(bus.service.bodies[0], QStringLiteral("Anna ist in \u201EGreed Arena\u201C (Lobby)"));
        if (!buttons) {
            QCOMPARE(bus.service.actions[0], QStringList());
            bus.click(101, QStringLiteral("join")); // what the service never offered joins nothing
        } else {
            QCOMPARE(bus.service.actions[0], (QStringList{QStringLiteral("join"), QStringLiteral("Beitreten")}));
            bus.click(999, QStringLiteral("join")); // another notification's button
            bus.click(101, QStringLiteral("join"));
            QTRY_COMPARE(program.starter.started.size(), std::size_t{1});
            QCOMPARE(program.starter.started[0].arguments.back(), std::string("/join:198.51.100.7"));
            bus.click(101, QStringLiteral("join")); // once
        }
        // The service's signals have been read once it has answered a call made after them.
        QDBusPendingCallWatcher answered(QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("GetCapabilities"))));
        QTRY_VERIFY(answered.isFinished());
        QCoreApplication::processEvents();
        QCOMPARE(program.starter.started.size(), std::size_t{buttons ? 1u : 0u});
        QVERIFY(program.dialogs.shown.empty());
    }
};

QTEST_MAIN(TestQtNotifier)
#include "test_qtnotifier.moc"
