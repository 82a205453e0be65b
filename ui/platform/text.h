// The one crossing between the system's texts (Windows-1252 bytes) and Qt's strings, and the one
// place that decides how a label shows them.
#pragma once

#include <QString>

#include <string>
#include <string_view>

class QLabel;
class QWidget;

namespace quintor::ui {

// A text of the system, for display.
QString toQt(std::string_view bytes);
// What the user typed or chose, as a text of the system.
std::string fromQt(const QString& text);

// File names are not texts of the system: they keep the bytes the file system uses.
QString pathToQt(const std::string& path);
std::string pathFromQt(const QString& path);

// A label that shows its text as it stands: a game title or a notice that looks like markup is never
// taken for it. Every label of the program is made here.
QLabel* plainLabel(const QString& text, QWidget* parent);

} // namespace quintor::ui
