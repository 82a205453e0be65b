// The helpers every window test shares: game records as a refresh makes them, the fakes' verdict,
// pictures of windows, and waiting from inside the event loop.
#pragma once

#include "reference/gameentry.h"
#include "reference/gamestore.h"
#include "refresh/views.h"
#include "settings/translate.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QObject>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QStringList>
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

// At the window's smallest size every caption of a button, check box or label is whole and inside the window:
// what a longer translation would clip. Empty when all fit, else the captions that do not.
inline QStringList clippedCaptions(QWidget& window)
{
    window.resize(window.minimumSize());
    if (window.layout()) window.layout()->activate();
    QStringList clipped;
    const QRect client = window.rect();
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window)) continue;
        QString caption;
        int needed = 0;
        if (auto* push = qobject_cast<QPushButton*>(control)) {
            caption = push->text();
            needed = push->fontMetrics().horizontalAdvance(caption) + 12; // the caption with some room
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            caption = button->text(); // a check box or radio button: its mark and its caption
            needed = button->sizeHint().width();
        } else if (auto* label = qobject_cast<QLabel*>(control); label && !label->wordWrap()) {
            caption = label->text();
            needed = label->sizeHint().width();
        }
        if (caption.isEmpty()) continue;
        const QRect place(control->mapTo(&window, QPoint(0, 0)), control->size());
        if (control->width() < needed || !client.contains(place))
            clipped << QStringLiteral("%1 (%2 of %3 px)").arg(caption).arg(control->width()).arg(needed);
    }
    return clipped;
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
