#include "filters/actiontemplate.h"
#include "settings/translate.h"

namespace quintor {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads decimal digits at `pos`; saturates a long run so it cannot overflow.
int readNumber(std::string_view text, std::size_t& pos)
{
    long long value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        if (value <= ActionTemplate::kMaxWidth) value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return static_cast<int>(value > ActionTemplate::kMaxWidth ? ActionTemplate::kMaxWidth + 1 : value);
}

// Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) about "literal" + std::string.
std::string quoted(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + 2);
    result += '"';
    result += text;
    result += '"';
    return result;
}

[[noreturn]] void refuse(std::string_view text, const std::string& reason)
{
    throw TemplateError(tr("Der Aktionstext ") + quoted(text) + tr(" ist kein g\xFCltiges Format: ") + reason);
}

} // namespace

ActionTemplate ActionTemplate::compile(std::string_view text)
{
    ActionTemplate result;
    std::string* out = &result.before_;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t percent = text.find('%', i);
        if (percent == std::string_view::npos) {
            out->append(text.substr(i));
            break;
        }
        out->append(text.substr(i, percent - i));
        std::size_t pos = percent + 1;
        if (pos < text.size() && text[pos] == '%') {
            out->push_back('%');
            i = pos + 1;
            continue;
        }
        bool left = false;
        if (pos < text.size() && text[pos] == '-') {
            left = true;
            ++pos;
        }
        const int width = readNumber(text, pos);
        int precision = -1;
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            precision = readNumber(text, pos);
        }
        if (pos >= text.size()) break; // an incomplete conversion at the very end is dropped
        const std::string_view conversion = text.substr(percent, pos + 1 - percent);
        if (text[pos] != 's') refuse(text, quoted(conversion) + tr(" ist nicht erlaubt, nur %s und %%"));
        if (result.hasValue_) refuse(text, tr("mehr als ein %s"));
        if (width > kMaxWidth) refuse(text, tr("Breite ") + quoted(conversion) + tr(" ist zu gro\xDF"));
        result.hasValue_ = true;
        result.leftAlign_ = left;
        result.width_ = width;
        result.precision_ = precision;
        out = &result.after_;
        i = pos + 1;
    }
    return result;
}

std::string ActionTemplate::format(std::string_view value) const
{
    if (!hasValue_) return before_;
    if (precision_ >= 0 && value.size() > static_cast<std::size_t>(precision_)) {
        value = value.substr(0, static_cast<std::size_t>(precision_));
    }
    const std::size_t padding =
        static_cast<std::size_t>(width_) > value.size() ? static_cast<std::size_t>(width_) - value.size() : 0;
    std::string text;
    text.reserve(before_.size() + padding + value.size() + after_.size());
    text += before_;
    if (!leftAlign_) text.append(padding, ' ');
    text += value;
    if (leftAlign_) text.append(padding, ' ');
    text += after_;
    return text;
}

std::string formatActionText(std::string_view text, std::string_view value)
{
    return ActionTemplate::compile(text).format(value);
}

} // namespace quintor
