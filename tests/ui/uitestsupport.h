// Small helpers shared by the window tests.
#pragma once

#include "reference/gameentry.h"
#include "reference/gamestore.h"
#include "refresh/views.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QRect>

#include <functional>
#include <string>
#include <vector>

namespace quintor::test {

inline TGameEntry game(const std::string& title, const std::string& status, bool official = false,
                       std::uint32_t color = 0, std::int32_t addressCount = 0)
{
    TGameEntry entry;
    entry.Title = title;
    entry.Status = status;
    entry.OfficialServer = official;
    entry.Color = color;
    entry.AddressCount = addressCount;
    return entry;
}

// What a refresh does for one completed record: a row, the record, then the row's texts.
inline RowHandle addGame(GameListView& list, GameStore& games, TGameEntry entry)
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
