// The masterserver editor `medit`: the list `servers` of masterserver addresses.
#pragma once

#include "platform/dialogs.h"
#include "settings/textlist.h"
#include "ui/editors/closingwindow.h"

#include <string>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

namespace quintor::ui {

class Tmedit : public ClosingWindow {
    Q_OBJECT
public:
    static constexpr int clientWidth = 373;
    static constexpr int clientHeight = 223;

    // `defaultServer` is the address offered when adding.
    Tmedit(TextList& servers, Dialogs& dialogs, std::string defaultServer, QWidget* parent = nullptr);

    // Masterserver1Click's part: shows the editor over its owner (showing fills the list).
    void open();
    void Hinzufgen1Click();
    void Lschen1Click();
    // The context menu opens: "Löschen" only with an entry selected.
    void popPopup();
    void Button1Click();

    std::vector<std::string> entries() const;

protected:
    void FormShow();
    void FormClose() override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void appendEntry(const std::string& address);
    void FormResize();

    TextList& servers_;
    Dialogs& dialogs_;
    std::string defaultServer_;
    QListWidget* servlist = nullptr;
    QPushButton* Button1 = nullptr;
    QMenu* pop = nullptr;
    QAction* Hinzufgen1 = nullptr;
    QAction* Lschen1 = nullptr;
};

} // namespace quintor::ui
