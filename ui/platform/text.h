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
// A German caption of the windows (a UTF-8 string literal) in the language of the texts.
QString qtr(const char* german);
// A counted caption: the singular or plural form for `count`, "%1" replaced by the number.
QString qtrn(const char* singular, const char* plural, long long count);
// What the user typed or chose, as a text of the system.
std::string fromQt(const QString& text);

// File names are not texts of the system: they keep the bytes the file system uses.
QString pathToQt(const std::string& path);
std::string pathFromQt(const QString& path);

// A label that shows its text as it stands: a game title or a notice that looks like markup is never
// taken for it. Every label of the program is made here, but for a WrappingLabel (wrappinglabel.h) and the status
// bar's ElidingLabel (elidinglabel.h).
QLabel* plainLabel(const QString& text, QWidget* parent);
// A label's new text, shown as it stands whatever the label was made with.
void setPlainText(QLabel& label, const QString& text);
// A tooltip text that shows literally: Qt takes any tooltip that looks like markup for it.
QString plainToolTip(const QString& text);
// A text for the desktop's notification service, whose message body is markup: "<", ">" and "&" are
// escaped so a game title shows as typed.
QString notificationText(const QString& text);

} // namespace quintor::ui
