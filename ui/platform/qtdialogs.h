// The core's dialogs as Qt message boxes, input box and file choosers, with the system's captions.
#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QDialog;
class QMessageBox;
class QPushButton;

namespace quintor::ui {

// "Text|*.txt|Alle|*.*" (pairs of description and patterns separated by "|", patterns by ";")
// as a Qt name filter list: "Text (*.txt);;Alle (*.*)".
QString qtNameFilters(const QString& filter);

enum class BoxButtons { Ok, YesNo, OkCancel };

// Gives a message box the system's caption, its text as plain text, and its buttons ("OK", "&Ja" and
// "&Nein", "OK" and "Abbrechen"), starting on `defaultButton`; Escape presses the second one. Gives the
// button that means Yes or OK.
QPushButton* setUpBox(QMessageBox& box, int icon, const QString& caption, const std::string& text, BoxButtons buttons,
                      DefaultButton defaultButton = DefaultButton::yes);

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void message(const std::string& text) override;
    void information(const std::string& text) override;
    void warning(const std::string& text) override;
    void error(const std::string& text) override;
    bool errorYesNo(const std::string& text) override;
    bool errorYesNo(const std::string& text, DefaultButton defaultButton) override;
    bool informationYesNo(const std::string& text) override;
    bool warningYesNo(const std::string& text) override;
    bool confirmYesNo(const std::string& text) override;
    bool warningOkCancel(const std::string& text) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& initialFolder) override;
    std::optional<std::string> chooseFolder(const std::string& title) override;

    // The program is ending: open boxes close as if cancelled (No, Abbrechen) and new ones are
    // answered that way without being shown, so a waiting tick lets go without a user.
    void closeForQuit();
    // Boxes show again (the shut-down itself may have to report a failed save).
    void reopen() { closed_ = false; }

private:
    using Buttons = BoxButtons;
    bool ask(int icon, const QString& caption, const std::string& text, Buttons buttons,
             DefaultButton defaultButton = DefaultButton::yes);
    int run(QDialog& dialog);
    // Where a box or chooser opens: over the active window, else over the shown main window; null while the
    // program is in the tray.
    QWidget* owner() const;

    QPointer<QWidget> parent_;
    std::vector<QPointer<QDialog>> open_;
    bool closed_ = false;
};

} // namespace quintor::ui
