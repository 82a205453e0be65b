// The column chooser: checks from "Column" + n on opening, "OK" rewrites them, the close box keeps them.
#include "refresh/columnchoice.h"
#include "settings/textlist.h"
#include "ui/editors/columnchooser.h"
#include "ui/platform/text.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using quintor::TextList;
using quintor::ui::ColumnChooser;

namespace {

QStringList checkedTexts(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked) texts << list.item(i)->text();
    return texts;
}

void setChecked(QListWidget& list, const QString& text, bool checked)
{
    const auto found = list.findItems(text, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    found.constFirst()->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

} // namespace

class TestColumnChooser : public QObject {
    Q_OBJECT
private slots:
    void showsTheElevenCaptionsInTheFixedOrder()
    {
        TextList config;
        ColumnChooser form(config);
        auto* chklist = form.findChild<QListWidget*>(QStringLiteral("chklist"));
        QVERIFY(chklist);
        QCOMPARE(form.windowTitle(), QStringLiteral("Quintor - Listenspalten"));
        QCOMPARE(chklist->count(), 11);
        for (int i = 0; i < chklist->count(); ++i)
            QCOMPARE(chklist->item(i)->text(), quintor::ui::toQt(quintor::columnCaptions[static_cast<std::size_t>(i)]));
        QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("roger"))->text(), QStringLiteral("OK"));
    }

    void openingChecksTheChosenColumnsAnew()
    {
        TextList config({"Column1=Liga", "Column2=Hoster", "Column3=", "Column4=Spiel"});
        ColumnChooser form(config);
        auto* chklist = form.findChild<QListWidget*>(QStringLiteral("chklist"));
        setChecked(*chklist, QStringLiteral("Status"), true); // left over from an earlier opening
        form.open();
        QVERIFY(form.isVisible());
        QCOMPARE(checkedTexts(*chklist), (QStringList{QStringLiteral("Hoster"), QStringLiteral("Liga")}));
    }

    void okStoresTheCheckedInListOrderAndCloses()
    {
        TextList config({"ColumnWidth0=120", "Column1=Liga", "Column2=Erfunden", "ColumnWidth1=90"});
        ColumnChooser form(config);
        int closed = 0;
        form.setOnClosed([&closed] { ++closed; });
        form.open();
        auto* chklist = form.findChild<QListWidget*>(QStringLiteral("chklist"));
        setChecked(*chklist, QStringLiteral("Offizieller Server"), true);
        setChecked(*chklist, QStringLiteral("Emptys"), true);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("roger")), Qt::LeftButton);
        QCOMPARE(config.lines(), (std::vector<std::string>{"ColumnWidth0=120", "ColumnWidth1=90", "Column1=Emptys",
                                                           "Column2=Liga", "Column3=Offizieller Server"}));
        QVERIFY(!form.isVisible());
        QCOMPARE(closed, 1);
    }

    void checkingNothingRemovesEveryColumn()
    {
        TextList config({"Column1=Hoster", "Column2=Spieler"});
        ColumnChooser form(config);
        form.open();
        auto* chklist = form.findChild<QListWidget*>(QStringLiteral("chklist"));
        setChecked(*chklist, QStringLiteral("Hoster"), false);
        setChecked(*chklist, QStringLiteral("Spieler"), false);
        form.storeChosenColumns();
        QCOMPARE(config.count(), 0);
    }

    void closeBoxKeepsTheChoiceAndStillReports()
    {
        TextList config({"Column1=Hoster"});
        const TextList before = config;
        ColumnChooser form(config);
        int closed = 0;
        form.setOnClosed([&closed] { ++closed; });
        form.open();
        setChecked(*form.findChild<QListWidget*>(QStringLiteral("chklist")), QStringLiteral("Liga"), true);
        QVERIFY(form.close());
        QVERIFY(config == before);
        QCOMPARE(closed, 1);
        QVERIFY(!form.isVisible());
    }

    void closingAWindowThatIsNotOpenReportsNothing()
    {
        TextList config;
        ColumnChooser form(config);
        int closed = 0;
        form.setOnClosed([&closed] { ++closed; });
        form.close();
        QCOMPARE(closed, 0);
    }
};

QTEST_MAIN(TestColumnChooser)
#include "test_columnchooser.moc"
