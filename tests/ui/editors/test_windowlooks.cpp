// The windows as they appear: designed client sizes, no control outside the window or over another,
// and a picture of each in the build folder (windows-<name>.png) to look at.
#include "reference/gameentry.h"
#include "settings/textlist.h"
#include "support/fakes.h"
#include "ui/editors/aliaseditor.h"
#include "ui/editors/columnchooser.h"
#include "ui/editors/detailswindow.h"
#include "ui/editors/friendswindow.h"
#include "ui/editors/masterservereditor.h"
#include "ui/uitestsupport.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <optional>

using namespace quintor;
using namespace quintor::ui;

namespace {

// Every button lies inside the window and clear of the list or grid; the list keeps a margin.
void checkLayout(QWidget& window)
{
    const QRect client = window.rect();
    const auto views = window.findChildren<QAbstractItemView*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(views.size(), 1);
    const QRect view = views.constFirst()->geometry();
    QVERIFY2(client.adjusted(5, 5, -5, -5).contains(view), qPrintable(window.objectName()));
    for (const QPushButton* button : window.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        QVERIFY2(client.adjusted(5, 5, -5, -5).contains(button->geometry()), qPrintable(button->objectName()));
        QVERIFY2(!button->geometry().intersects(view), qPrintable(button->objectName()));
        const int textWidth = button->fontMetrics().horizontalAdvance(button->text());
        QVERIFY2(textWidth + 12 <= button->width(), qPrintable(button->text())); // the caption fits with room
    }
}

void picture(QWidget& window)
{
    QVERIFY(quintor::test::savePicture(window, QStringLiteral("windows-%1.png").arg(window.objectName())));
}

GameRecord sampleGame()
{
    GameRecord game;
    game.Players = {{"J\xFCrgen", "Juergen.c4p", "1", 3}, {"Sven", "Sven.c4p", "0", 4}};
    game.Resources = {{"Objects.c4d", "Redwolf Design", "Objekte", 5400000, true},
                      {"Gr\xFC"
                       "ne Welt.c4s",
                       "Ruth", "Szenario", 120000, true}};
    return game;
}

} // namespace

class TestWindowLooks : public QObject {
    Q_OBJECT
private slots:
    void columnChooser()
    {
        TextList config({"Column1=Hoster", "Column2=Liga"});
        ColumnChooser form(config);
        form.open();
        QCOMPARE(form.size(), QSize(437, 293));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        checkLayout(form);
        picture(form);
    }

    void details()
    {
        DetailsWindow details;
        details.open(sampleGame(), DetailKind::Resources);
        checkLayout(details);
        picture(details);
        details.resize(details.minimumSize());
        checkLayout(details);
    }

    void aliasEditor()
    {
        TextList aliases({"Siedler=Siedeln", "Gr\xFCn=Gr\xFCne Welt", "Foo= "});
        test::ScriptedDialogs dialogs;
        AliasEditor editor(aliases, dialogs);
        editor.open();
        QCOMPARE(editor.size(), QSize(440, 335));
        checkLayout(editor);
        picture(editor);
        editor.resize(editor.minimumSize());
        checkLayout(editor);
    }

    void masterserverEditor()
    {
        TextList servers({"http://www.clonk.de:84/league/server", "http://127.0.0.1:8484/league/server"});
        test::ScriptedDialogs dialogs;
        MasterserverEditor editor(servers, dialogs, "http://www.clonk.de:84/league/server");
        editor.open();
        QCOMPARE(editor.size(), QSize(373, 223));
        checkLayout(editor);
        picture(editor);
        editor.resize(editor.minimumSize());
        checkLayout(editor);
    }

    void captionsFitAtTheSmallestSizeInBothLanguages_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("Deutsch") << false;
        QTest::newRow("English") << true;
    }
    void captionsFitAtTheSmallestSizeInBothLanguages()
    {
        QFETCH(bool, english);
        std::optional<test::EnglishTexts> texts;
        if (english) texts.emplace();
        TextList config({"Column1=Hoster"});
        TextList aliases({"Siedler=Siedeln"});
        TextList servers({"http://www.clonk.de:84/league/server"});
        TextList friends({"Anna"});
        test::ScriptedDialogs dialogs;
        std::vector<std::unique_ptr<WindowDialog>> windows;
        windows.push_back(std::make_unique<ColumnChooser>(config));
        windows.push_back(std::make_unique<AliasEditor>(aliases, dialogs));
        windows.push_back(
            std::make_unique<MasterserverEditor>(servers, dialogs, "http://www.clonk.de:84/league/server"));
        windows.push_back(std::make_unique<FriendsWindow>(friends));
        for (const auto& window : windows) {
            window->show();
            const QStringList clipped = test::clippedCaptions(*window);
            QVERIFY2(clipped.isEmpty(), qPrintable(window->objectName() + ": " + clipped.join(", ")));
        }
        for (const DetailKind kind : {DetailKind::Players, DetailKind::Resources}) {
            DetailsWindow details;
            details.open(sampleGame(), kind);
            const QStringList clipped = test::clippedCaptions(details);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
        }
    }
};

QTEST_MAIN(TestWindowLooks)
#include "test_windowlooks.moc"
