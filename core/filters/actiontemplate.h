// The action text of a filter action: a template with at most one "%s" for the game's datum.
// The user's text is parsed here and never handed to printf or any other format routine.
#pragma once

#include "settings/errors.h"

#include <string>
#include <string_view>

namespace quintor {

// A template that cannot be formatted with one string argument.
class TemplateError : public QuintorError {
public:
    using QuintorError::QuintorError;
};

// Rules, as printf has them for one string argument:
// - "%s" stands for the value; between "%" and "s" an optional "-" (pad on the right), a width (pad
//   with blanks to at least that many characters) and a precision "." + digits (at most that many
//   characters of the value; "." alone is 0);
// - "%%" stands for "%";
// - a "%" at the very end, with whatever incomplete conversion follows it, is dropped;
// - a second "%s", or any other conversion ("%d", "% ", "%S", "%5%" ...), is a TemplateError.
class ActionTemplate {
public:
    // Widths beyond this are refused: a template must not be able to ask for gigabytes of blanks.
    static constexpr int kMaxWidth = 65535;

    static ActionTemplate compile(std::string_view text);
    std::string format(std::string_view value) const;

private:
    std::string before_, after_;
    bool hasValue_ = false;
    bool leftAlign_ = false;
    int width_ = 0;
    int precision_ = -1; // -1: the whole value
};

// compile + format in one step.
std::string formatActionText(std::string_view text, std::string_view value);

} // namespace quintor
