// The helpers every window test shares: game records as a refresh makes them, the fakes' verdict,
// pictures of windows, and waiting from inside the event loop.
#pragma once

#include "reference/gameentry.h"
#include "reference/gamestore.h"
#include "refresh/views.h"
#include "settings/translate.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

namespace quintor::test {

// The build's English catalog for the life of the object; the German texts again afterwards.
struct EnglishTexts {
    EnglishTexts()
    {
        if (!useCatalogFile(QUINTOR_BUILD_CATALOG)) qFatal("no catalog at %s", QUINTOR_BUILD_CATALOG);
    }
    ~EnglishTexts() { useGermanTexts(); }
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;
};

inline GameRecord game(const std::string& title, const std::string& status, bool official = false,
                       std::uint32_t color = 0, std::int32_t addressCount = 0)
{
    GameRecord entry;
    entry.Title = title;
    entry.Status = status;
    entry.OfficialServer = official;
    entry.Color = color;
    entry.AddressCount = addressCount;
    return entry;
}

// What a refresh does for one completed record: a row, the record, then the row's texts.
inline RowHandle addGame(GameListView& list, GameStore& games, GameRecord entry)
{
    const RowHandle row = list.addRow();
    entry.Item = row;
    const std::string caption = entry.Title;
    games.append(std::move(entry));
    list.setRowTexts(row, caption, {});
    return row;
}

// True when a fake of tests/support/fakes.h met something it was not told to expect.
inline bool fakesComplained()
{
    return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed();
}

// Saves a picture of the window beside the test executable, to look at; false when it cannot.
inline bool savePicture(QWidget& window, const QString& fileName)
{
    return window.grab().save(QStringLiteral(QUINTOR_TEST_OUTPUT_DIR "/") + fileName);
}

// Calls `step` from the event loop every millisecond until it returns true. A tick waits in an
// event loop of its own, deeper on the stack than the test's code; only event handlers such as this
// timer's run while it waits. False when the time runs out first.
inline bool driveUntilDone(const std::function<bool()>& step, int timeoutMs = 15000)
{
    bool done = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!done) done = step();
    });
    timer.start(1);
    return QTest::qWaitFor([&done] { return done; }, timeoutMs);
}

inline int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& match)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (match(image.pixelColor(x, y))) ++count;
    return count;
}

} // namespace quintor::test
