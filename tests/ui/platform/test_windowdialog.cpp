// The base of the secondary windows: every way of closing writes back once and then tells the owner,
// a failed write-back keeps the window open, a window opens again where it was left, and nothing in
// it runs an event loop of its own or lets Enter press a button.
#include "ui/platform/windowdialog.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

using quintor::ui::WindowDialog;

namespace {

class ProbeWindow : public WindowDialog {
public:
    explicit ProbeWindow(QWidget* owner = nullptr) : WindowDialog(owner)
    {
        edit = new QLineEdit(this);
        okButton = new QPushButton(QStringLiteral("OK"), this);
        otherButton = new QPushButton(QStringLiteral("Andere"), this);
        connect(okButton, &QPushButton::clicked, this, &QWidget::close);
        connect(otherButton, &QPushButton::clicked, this, [this] { events.push_back("other"); });
        setOnClosed([this] { events.push_back("closed"); });
        resize(200, 100);
    }

    std::vector<std::string> events;
    bool writes = true;
    QLineEdit* edit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* otherButton = nullptr;

protected:
    bool writeBack() override
    {
        events.push_back(isVisible() ? "write" : "write while hidden");
        return writes;
    }
};

using Events = std::vector<std::string>;

// Qt learns the size of a window's frame only once the window has been shown; until then the first
// placement reckons with the bare window. Shown and hidden once, the window is placed exactly.
void letQtLearnTheFrame(QWidget& window)
{
    window.show();
    window.hide();
}

} // namespace

class TestWindowDialog : public QObject {
    Q_OBJECT
private slots:
    void everyWayOfClosingWritesBackOnceThenTellsTheOwner()
    {
        const std::vector<std::pair<const char*, std::function<void(ProbeWindow&)>>> ways = {
            {"Escape in a text box", [](ProbeWindow& w) { QTest::keyClick(w.edit, Qt::Key_Escape); }},
            {"close box", [](ProbeWindow& w) { w.close(); }},
            {"button", [](ProbeWindow& w) { w.okButton->click(); }},
            {"reject", [](ProbeWindow& w) { w.reject(); }},
        };
        for (const auto& [way, closeIt] : ways) {
            ProbeWindow window;
            window.close(); // never opened: nothing to write back, nobody to tell
            QVERIFY2(window.events.empty(), way);
            window.open();
            closeIt(window);
            QVERIFY2(!window.isVisible(), way);
            QVERIFY2(window.events == (Events{"write", "closed"}), way);
            window.close();
            window.reject();
            QVERIFY2(window.events.size() == 2, way);
        }
    }

    void aFailedWriteBackKeepsTheWindowOpen()
    {
        ProbeWindow window;
        window.writes = false;
        window.open();
        QVERIFY(!window.close());
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QCOMPARE(window.events, (Events{"write", "write"}));
        window.writes = true;
        window.okButton->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.events, (Events{"write", "write", "write", "closed"}));
    }

    void enterPressesNoButton()
    {
        ProbeWindow window;
        window.okButton->setDefault(true);
        window.open();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.edit->setFocus();
        QTest::keyClick(window.edit, Qt::Key_Return);
        QTest::keyClick(window.edit, Qt::Key_Enter, Qt::KeypadModifier);
        window.otherButton->setFocus();
        QTest::keyClick(window.otherButton, Qt::Key_Return);
        QVERIFY(window.isVisible());
        QVERIFY(window.events.empty());
        QTest::keyClick(window.otherButton, Qt::Key_Space); // the button still answers to its own key
        QCOMPARE(window.events, Events{"other"});
    }

    void neverRunsAnEventLoopOfItsOwn()
    {
        ProbeWindow window;
        bool loopRan = false;
        QTimer::singleShot(0, &window, [&loopRan] { loopRan = true; });
        window.open();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isModal());
        QCOMPARE(window.windowModality(), Qt::NonModal);
        window.close();
        QVERIFY(!loopRan); // a nested loop would have run the timer inside open() or close()
        QTRY_VERIFY(loopRan);
    }

    void opensWhereItWasLeft()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget owner;
        owner.setGeometry(screen.left() + 100, screen.top() + 80, 400, 300);
        owner.show();
        ProbeWindow window(&owner);
        letQtLearnTheFrame(window);
        window.open();
        QCOMPARE(window.frameGeometry().center(), owner.frameGeometry().center());

        const QRect left(screen.left() + 30, screen.top() + 40, 260, 130);
        window.setGeometry(left);
        window.close();
        owner.move(owner.pos() + QPoint(50, 50));
        window.open();
        QCOMPARE(window.geometry(), left);
        window.close();

        // A window made anew for each opening stands where the one before it was left.
        ProbeWindow next(&owner);
        next.setLastBounds(window.lastBounds());
        next.open();
        QCOMPARE(next.geometry(), left);
    }

    void opensFirstOverTheScreenWhileTheOwnerIsHiddenAndWholeOnIt()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget owner;
        owner.setGeometry(screen.left() + 10, screen.top() + 10, 100, 100);
        ProbeWindow window(&owner);
        letQtLearnTheFrame(window);
        window.open();
        QCOMPARE(window.frameGeometry().center(), screen.center());
        window.close();

        owner.setGeometry(screen.right() - 120, screen.bottom() - 120, 100, 100); // in the corner
        owner.show();
        ProbeWindow cornered(&owner);
        cornered.resize(300, 200);
        letQtLearnTheFrame(cornered);
        cornered.open();
        QVERIFY(screen.contains(cornered.frameGeometry()));
        QCOMPARE(cornered.frameGeometry().bottomRight(), screen.bottomRight());
    }
};

QTEST_MAIN(TestWindowDialog)
#include "test_windowdialog.moc"
