// The balloon reads exactly as the text it was given, markup included, on both of its paths: as the
// notification of a service on the session bus (run under dbus-run-session, with a stand-in service), and as
// the window at the tray icon when there is no service or no bus. Qt's own balloon showed "A &amp; B" there.
#include "ui/platform/qtnotifier.h"
#include "ui/platform/text.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLabel>
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

public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body, const QStringList&,
                const QVariantMap&, int)
    {
        summaries << summary;
        bodies << body;
        return static_cast<uint>(bodies.size());
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
            tray.notifier.balloon(ui::fromQt(kTitle), ui::fromQt(text));
            QTRY_VERIFY(tray.notifier.balloonWindow() && tray.notifier.balloonWindow()->isVisible());
            for (const auto& [name, expected] : {std::pair{"balloonTitle", kTitle}, std::pair{"balloonText", text}}) {
                auto* label = tray.notifier.balloonWindow()->findChild<QLabel*>(QString::fromLatin1(name));
                QVERIFY(label);
                QCOMPARE(label->textFormat(), Qt::PlainText);
                QCOMPARE(label->text(), expected);
            }
        }
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
            tray.notifier.balloon(ui::fromQt(kTitle), ui::fromQt(text));
        QTRY_COMPARE(service.bodies.size(), kTexts.size());
        QCOMPARE(service.summaries, QStringList(kTexts.size(), kTitle));
        for (int i = 0; i < kTexts.size(); ++i)
            QCOMPARE(markup ? shownMarkup(service.bodies[i]) : service.bodies[i], kTexts[i]);
        QVERIFY(!tray.notifier.balloonWindow());

        bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    }
};

QTEST_MAIN(TestQtNotifier)
#include "test_qtnotifier.moc"
