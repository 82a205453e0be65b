// The dialogs the core asks for. The Qt side shows real boxes; tests answer from a script.
#pragma once

#include <optional>
#include <string>

namespace quintor {

// The button a question box starts on, the one Enter presses.
enum class DefaultButton { yes, no };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Plain box: no symbol, one OK button, the application title as caption.
    virtual void message(const std::string& text) = 0;
    // Boxes with a symbol and one OK button ("Informationen", "Warnung", "Fehler").
    virtual void information(const std::string& text) = 0;
    virtual void warning(const std::string& text) = 0;
    virtual void error(const std::string& text) = 0;
    // Error box with "&Ja" and "&Nein"; true for Yes. "&Ja" is the default button.
    virtual bool errorYesNo(const std::string& text) = 0;
    // The same box starting on the given button. A platform that cannot choose it shows the box above.
    virtual bool errorYesNo(const std::string& text, DefaultButton defaultButton)
    {
        static_cast<void>(defaultButton);
        return errorYesNo(text);
    }
    // Warning box with "&Ja" and "&Nein"; true for Yes.
    virtual bool warningYesNo(const std::string& text) = 0;
    // Confirmation box ("Bestätigen") with "&Ja" and "&Nein"; true for Yes.
    virtual bool confirmYesNo(const std::string& text) = 0;
    // Information box ("Informationen") with "&Ja" and "&Nein"; true for Yes. Until a platform shows its
    // own, the confirmation box asks.
    virtual bool informationYesNo(const std::string& text) { return confirmYesNo(text); }
    // Warning box with "OK" and "Abbrechen"; true for OK.
    virtual bool warningOkCancel(const std::string& text) = 0;
    // Input box with "OK" and "Abbrechen"; nothing when cancelled.
    virtual std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) = 0;
    // Open-file dialog; the full name of the chosen existing file, or nothing.
    virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                                const std::string& initialFolder) = 0;
    // Folder browser; the chosen folder, or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& title) = 0;
};

} // namespace quintor
