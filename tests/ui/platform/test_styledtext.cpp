// Hosts' colours drawn as plain text: the contrast rule, and the delegate's segments as they reach the screen.
#include "ui/platform/styledtext.h"

#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

using namespace quintor;
using namespace quintor::ui;

namespace {

// The columns of `image` (within `area`) that hold a pixel of `colour`, give or take the text's smoothing.
std::vector<int> columnsWith(const QImage& image, const QRect& area, const QColor& colour)
{
    std::vector<int> columns;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                    std::abs(pixel.blue() - colour.blue()) <=
                12) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

} // namespace

class TestStyledText : public QObject {
    Q_OBJECT
private slots:
    void readableColour_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("changed");
        const QColor white(Qt::white), dark(0x20, 0x20, 0x20);
        QTest::newRow("white on white") << QColor(Qt::white) << white << true;
        QTest::newRow("yellow on white") << QColor(0xff, 0xff, 0x00) << white << true;
        QTest::newRow("black on white") << QColor(Qt::black) << white << false;
        QTest::newRow("mid orange on white") << QColor(0xff, 0x80, 0x00) << white << true;
        QTest::newRow("blue on white") << QColor(0x00, 0x00, 0xff) << white << false;
        QTest::newRow("white on dark") << QColor(Qt::white) << dark << false;
        QTest::newRow("yellow on dark") << QColor(0xff, 0xff, 0x00) << dark << false;
        QTest::newRow("black on dark") << QColor(Qt::black) << dark << true;
        QTest::newRow("mid orange on dark") << QColor(0xff, 0x80, 0x00) << dark << false;
        QTest::newRow("blue on dark") << QColor(0x00, 0x00, 0xff) << dark << true;
    }

    void readableColour()
    {
        QFETCH(QColor, colour);
        QFETCH(QColor, background);
        QFETCH(bool, changed);
        const QColor drawn = ui::readableColour(colour, background);
        QVERIFY2(contrastRatio(drawn, background) >= minimumContrast, qPrintable(drawn.name()));
        QCOMPARE(drawn != colour, changed);
        if (!changed) return;
        // Moved no further than needed, darker on a light background and lighter on a dark one, in its own hue.
        QVERIFY2(contrastRatio(drawn, background) < 3.1, qPrintable(drawn.name()));
        const bool darkBackground = relativeLuminance(background) < 0.18;
        QCOMPARE(relativeLuminance(drawn) > relativeLuminance(colour), darkBackground);
        if (colour.hsvHue() >= 0) QVERIFY(std::abs(drawn.hsvHue() - colour.hsvHue()) <= 2);
    }

    void theDelegateDrawsEachRunInItsColour()
    {
        QStandardItemModel model(2, 1);
        // Red, then a yellow that the white base would swallow, then plain text; the second row is selected.
        for (int row = 0; row < 2; ++row) {
            model.setData(model.index(row, 0), QStringLiteral("MMMM WWWW HHHH"));
            model.setData(model.index(row, 0), spansVariant({{0, 4, 0xFF0000}, {5, 4, 0xFFFF00}}), textSpansRole);
        }
        QTreeView view;
        view.setItemDelegate(new StyledTextDelegate(&view));
        QFont font = view.font();
        font.setPixelSize(24);
        view.setFont(font);
        QPalette palette = view.palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        palette.setColor(QPalette::Highlight, QColor(0, 0, 160));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        view.setPalette(palette);
        view.setModel(&model);
        view.resize(400, 120);
        view.selectionModel()->select(model.index(1, 0), QItemSelectionModel::Select);
        view.show();
        const QImage image = view.viewport()->grab().toImage();

        const QRect plain = view.visualRect(model.index(0, 0));
        const QColor yellow = ui::readableColour(QColor(0xff, 0xff, 0), Qt::white);
        const std::vector<int> red = columnsWith(image, plain, Qt::red);
        const std::vector<int> darkYellow = columnsWith(image, plain, yellow);
        const std::vector<int> black = columnsWith(image, plain, Qt::black);
        QVERIFY(!red.empty() && !darkYellow.empty() && !black.empty());
        QVERIFY(red.back() < darkYellow.front());
        QVERIFY(darkYellow.back() < black.front());
        QVERIFY(columnsWith(image, plain, QColor(0xff, 0xff, 0)).empty()); // never the pale yellow itself

        // Selected: the highlighted text colour throughout.
        const QRect selected = view.visualRect(model.index(1, 0));
        QVERIFY(columnsWith(image, selected, Qt::red).empty());
        QVERIFY(columnsWith(image, selected, yellow).empty());
        QVERIFY(columnsWith(image, selected, Qt::white).size() > 50);
    }
};

QTEST_MAIN(TestStyledText)
#include "test_styledtext.moc"
