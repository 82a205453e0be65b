#include "monitor/holdingdialogs.h"

namespace quintor {

template <typename Ask> auto HoldingDialogs::hold(Ask ask)
{
    struct Open {
        HoldingDialogs& dialogs;
        explicit Open(HoldingDialogs& d) : dialogs(d) { ++dialogs.open_; }
        ~Open()
        {
            if (--dialogs.open_ == 0 && dialogs.released_) dialogs.released_();
        }
        Open(const Open&) = delete;
        Open& operator=(const Open&) = delete;
    } open(*this);
    return ask();
}

void HoldingDialogs::message(const std::string& text)
{
    hold([&] { inner_.message(text); });
}

void HoldingDialogs::information(const std::string& text)
{
    hold([&] { inner_.information(text); });
}

void HoldingDialogs::warning(const std::string& text)
{
    hold([&] { inner_.warning(text); });
}

void HoldingDialogs::error(const std::string& text)
{
    hold([&] { inner_.error(text); });
}

bool HoldingDialogs::errorYesNo(const std::string& text)
{
    return hold([&] { return inner_.errorYesNo(text); });
}

bool HoldingDialogs::errorYesNo(const std::string& text, DefaultButton defaultButton)
{
    return hold([&] { return inner_.errorYesNo(text, defaultButton); });
}

bool HoldingDialogs::warningYesNo(const std::string& text)
{
    return hold([&] { return inner_.warningYesNo(text); });
}

bool HoldingDialogs::confirmYesNo(const std::string& text)
{
    return hold([&] { return inner_.confirmYesNo(text); });
}

bool HoldingDialogs::informationYesNo(const std::string& text)
{
    return hold([&] { return inner_.informationYesNo(text); });
}

bool HoldingDialogs::warningOkCancel(const std::string& text)
{
    return hold([&] { return inner_.warningOkCancel(text); });
}

std::optional<std::string> HoldingDialogs::input(const std::string& caption, const std::string& prompt,
                                                 const std::string& initial)
{
    return hold([&] { return inner_.input(caption, prompt, initial); });
}

std::optional<std::string> HoldingDialogs::openFile(const std::string& title, const std::string& filter,
                                                    const std::string& initialFolder)
{
    return hold([&] { return inner_.openFile(title, filter, initialFolder); });
}

std::optional<std::string> HoldingDialogs::chooseFolder(const std::string& title)
{
    return hold([&] { return inner_.chooseFolder(title); });
}

} // namespace quintor
