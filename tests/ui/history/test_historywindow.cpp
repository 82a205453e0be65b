// The window "Verlauf" draws what the activity history holds: the chart follows the chosen span and
// breaks where hours are missing; the heat map leaves hours without data white and names the busiest.
#include "support/fakes.h"
#include "support/tempfolder.h"
#include "ui/history/activitychart.h"
#include "ui/history/heatmapview.h"
#include "ui/history/historywindow.h"
#include "ui/uitestsupport.h"

#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTabWidget>

using namespace quintor;

namespace {

// The clock stands at Tuesday 2026-12-08 17:02.
struct HistoryFixture {
    test::TempFolder folder;
    test::FixedClock clock;
    ActivityHistory history{clock};

    explicit HistoryFixture(const std::string& lines)
    {
        folder.write("history.txt", lines);
        history.load(folder.file("history.txt"));
    }
};

int visibleLegendEntries(QChart& chart)
{
    int count = 0;
    for (QLegendMarker* marker : chart.legend()->markers())
        if (marker->isVisible()) ++count;
    return count;
}

} // namespace

class TestHistoryWindow : public QObject {
    Q_OBJECT
private slots:
    void theChartFollowsTheSpanAndBreaksAtMissingHours()
    {
        // 15 and 16 o'clock in a row, 10 o'clock alone, and one hour five days ago.
        HistoryFixture f("2026-12-03 12=2;2;1;20;10\r\n"
                         "2026-12-08 10=1;3;3;5;5\r\n"
                         "2026-12-08 15=2;4;2;10;6\r\n"
                         "2026-12-08 16=2;6;3;14;8\r\n");
        ui::HistoryWindow window(f.history, {});
        window.open();
        auto& chart = window.chart();
        QCOMPARE(chart.spanHours(), 7 * 24);
        QCOMPARE(chart.points().size(), std::size_t{4});
        // Three lines of three pieces each, yet each line once in the legend.
        QCOMPARE(chart.chart().series().size(), 9);
        QCOMPARE(visibleLegendEntries(chart.chart()), 3);
        const auto lone = qobject_cast<QLineSeries*>(chart.chart().series().constFirst());
        QVERIFY(lone && lone->count() == 1 && lone->pointsVisible()); // a lone hour is still seen

        chart.spanChoice().setCurrentIndex(0);
        QCOMPARE(chart.spanHours(), 24);
        QCOMPARE(chart.points().size(), std::size_t{3});
        QCOMPARE(chart.points().back().averagePlayers, 7.0);
        QCOMPARE(chart.points().back().averageGames, 3.0);
        QCOMPARE(chart.chart().series().size(), 6);
    }

    void theHeatMapLeavesHoursWithoutDataWhiteAndNamesTheBusiest()
    {
        HistoryFixture f("2026-12-08 16=2;6;3;14;8\r\n"
                         "2026-12-08 03=1;0;0;0;0\r\n"
                         "2026-12-07 20=1;1;1;3;3\r\n");
        ui::HistoryWindow window(f.history, {});
        window.resize(900, 600);
        window.open();
        window.tabs().setCurrentIndex(1);
        QCOMPARE(window.tabs().tabText(1), QStringLiteral("Woche"));
        auto& map = window.heatMap();
        QTest::qWait(0);
        const QImage picture = map.grab().toImage();
        const auto colourAt = [&](int weekday, int hour) {
            const QRect cell = map.cellRect(weekday, hour);
            return picture.pixelColor(cell.topLeft() + QPoint(2, 2)); // clear of the figure in the middle
        };
        QCOMPARE(colourAt(0, 3), QColor(Qt::white));                      // Monday 3 o'clock: never recorded
        QCOMPARE(colourAt(1, 16), ui::HeatMapView::cellColour(7.0, 7.0)); // the busiest, darkest
        QVERIFY(colourAt(1, 3) != QColor(Qt::white));                     // recorded, if nobody was online
        QVERIFY(colourAt(1, 3) != colourAt(1, 16));

        QCOMPARE(window.busiestHours().text(),
                 QStringLiteral("Am meisten los: Dienstag 16\u201317 Uhr, Montag 20\u201321 Uhr"));
    }

    void englishCaptionsWeekdaysAndHours()
    {
        const test::EnglishTexts english;
        HistoryFixture f("2026-12-08 16=2;6;3;14;8\r\n"
                         "2026-12-07 20=1;1;1;3;3\r\n");
        ui::HistoryWindow window(f.history, {});
        window.open();
        QCOMPARE(window.windowTitle(), QStringLiteral("History"));
        QCOMPARE(window.tabs().tabText(0), QStringLiteral("Timeline"));
        QCOMPARE(window.tabs().tabText(1), QStringLiteral("Week"));
        QCOMPARE(window.busiestHours().text(), QStringLiteral("Busiest: Tuesday 16\u201317 h, Monday 20\u201321 h"));
        QVERIFY(test::savePicture(window, QStringLiteral("english-verlauf.png")));
        const QStringList clipped = test::clippedCaptions(window);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
    }

    void escapeClosesAndTellsTheOwnerOnce()
    {
        HistoryFixture f("");
        int closed = 0;
        ui::HistoryWindow window(f.history, [&] { ++closed; });
        window.close(); // never opened: nothing to hand back
        QCOMPARE(closed, 0);
        window.open();
        QVERIFY(window.chart().findChild<QLabel*>(QStringLiteral("emptyNote"))->isVisibleTo(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(closed, 1);
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "test_historywindow.moc"
