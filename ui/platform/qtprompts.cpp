#include "ui/platform/qtprompts.h"

#include "settings/appinfo.h"
#include "ui/platform/qtdialogs.h"
#include "ui/platform/text.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace quintor::ui {

QtPromptPresenter::QtPromptPresenter(QWidget* owner, QObject* parent) : QObject(parent), owner_(owner) {}

QtPromptPresenter::~QtPromptPresenter()
{
    withdraw();
}

void QtPromptPresenter::present(const Prompt& prompt, std::function<void(bool yes)> answered)
{
    withdraw();
    const bool ownerHidden = !owner_ || !owner_->isVisible();
    auto* box = new QMessageBox(ownerHidden ? nullptr : owner_.data());
    box->setAttribute(Qt::WA_DeleteOnClose);
    int icon = QMessageBox::NoIcon;
    QString caption = toQt(appinfo::title);
    BoxButtons buttons = BoxButtons::Ok;
    switch (prompt.kind) {
    case PromptKind::message:
        break;
    case PromptKind::information:
        icon = QMessageBox::Information;
        caption = qtr("Informationen");
        break;
    case PromptKind::error:
        icon = QMessageBox::Critical;
        caption = qtr("Fehler");
        break;
    case PromptKind::errorQuestion:
        icon = QMessageBox::Critical;
        caption = qtr("Fehler");
        buttons = BoxButtons::YesNo;
        break;
    case PromptKind::informationQuestion:
        icon = QMessageBox::Information;
        caption = qtr("Informationen");
        buttons = BoxButtons::YesNo;
        break;
    }
    QPushButton* yes = setUpBox(*box, icon, caption, prompt.text, buttons, prompt.defaultButton);
    box_ = box;
    connect(box, &QDialog::finished, this, [this, box, yes, answered = std::move(answered)] {
        const bool saidYes = box->clickedButton() == yes;
        if (box_ == box) box_ = nullptr;
        if (answered) answered(saidYes);
    });
    box->open();
    if (ownerHidden) {
        // While the window is away in the tray the box still has to reach the user: on its own, in front.
        QTimer::singleShot(0, box, [box] {
            box->raise();
            box->activateWindow();
        });
    }
    emit presented();
}

void QtPromptPresenter::withdraw()
{
    if (!box_) return;
    QMessageBox* box = box_.data();
    box_ = nullptr;
    box->disconnect(this); // closed unanswered
    box->close();
}

} // namespace quintor::ui
