// How the editor windows lay out their controls: five pixels around and between them, and push
// buttons of the editors' usual size.
#pragma once

#include <QBoxLayout>
#include <QPushButton>

#include <algorithm>

namespace quintor::ui {

inline constexpr int windowMargin = 5;

// The window's top-level column, five pixels from every edge and between its rows.
inline QVBoxLayout* windowColumn(QWidget* window)
{
    auto* column = new QVBoxLayout(window);
    column->setContentsMargins(windowMargin, windowMargin, windowMargin, windowMargin);
    column->setSpacing(windowMargin);
    return column;
}

// A row without margins of its own, for controls beside each other inside a column.
inline QHBoxLayout* controlRow()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(windowMargin);
    return row;
}

// Buttons are 75 by 25 pixels, wider where the caption needs room beside it.
inline void sizeButton(QPushButton* button, int width = 75)
{
    const int captionWidth = button->fontMetrics().horizontalAdvance(button->text()) + 24;
    button->setFixedSize(std::max(width, captionWidth), 25);
}

} // namespace quintor::ui
