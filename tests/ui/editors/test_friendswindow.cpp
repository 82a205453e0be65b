// The "Freunde" window: rows are added, edited in place and removed; closing writes the list back.
#include "ui/editors/friendswindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using quintor::TextList;
using quintor::ui::FriendsWindow;

class TestFriendsWindow : public QObject {
    Q_OBJECT
private slots:
    void addsEditsAndRemovesNamesAndWritesThemBackOnClosing()
    {
        // A byte no letter stands for stays as it was while its row is not edited.
        TextList friends({"Anna", "Clan-\x81*", "Otto"});
        FriendsWindow window(friends);
        bool closed = false;
        window.setOnClosed([&closed] { closed = true; });
        window.open();
        QCOMPARE(window.windowTitle(), QStringLiteral("Quintor - Freunde"));
        auto* list = window.findChild<QListWidget*>(QStringLiteral("friendlist"));
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Anna"));

        list->item(2)->setSelected(true);
        list->setCurrentRow(2);
        window.findChild<QPushButton*>(QStringLiteral("Button3"))->click(); // "Entfernen"
        list->item(0)->setText(QStringLiteral("Anna\nvom Berg"));           // a pasted line break
        window.findChild<QPushButton*>(QStringLiteral("Button2"))->click(); // "Hinzufügen": its editor opens
        auto* editor = list->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("B\u00E4rbel"));
        window.findChild<QPushButton*>(QStringLiteral("Button2"))->click(); // left empty: no line

        window.findChild<QPushButton*>(QStringLiteral("Button1"))->click(); // "OK"; the name typed counts
        QVERIFY(closed);
        QCOMPARE(friends.lines(), (std::vector<std::string>{"Anna vom Berg", "Clan-\x81*", "B\xE4rbel"}));
    }
};

QTEST_MAIN(TestFriendsWindow)
#include "test_friendswindow.moc"
