#include "ui/platform/qtdialogs.h"

#include "settings/appinfo.h"
#include "ui/platform/text.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace quintor::ui {

QString qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(u' '));
    }
    return filters.join(u";;");
}

int QtDialogs::run(QDialog& dialog)
{
    open_.emplace_back(&dialog);
    const int result = dialog.exec();
    std::erase_if(open_, [&dialog](const QPointer<QDialog>& d) { return d.isNull() || d == &dialog; });
    return result;
}

void QtDialogs::closeForQuit()
{
    closed_ = true;
    for (const QPointer<QDialog>& dialog : open_) {
        if (dialog) dialog->reject();
    }
}

QPushButton* setUpBox(QMessageBox& box, int icon, const QString& caption, const std::string& text, BoxButtons buttons,
                      DefaultButton defaultButton)
{
    box.setIcon(static_cast<QMessageBox::Icon>(icon));
    box.setWindowTitle(caption);
    // The text may carry a game title or a server's reply: shown as it stands, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(toQt(text));
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (buttons) {
    case BoxButtons::Ok:
        yes = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case BoxButtons::YesNo:
        yes = box.addButton(qtr("&Ja"), QMessageBox::YesRole);
        no = box.addButton(qtr("&Nein"), QMessageBox::NoRole);
        break;
    case BoxButtons::OkCancel:
        yes = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        no = box.addButton(qtr("Abbrechen"), QMessageBox::RejectRole);
        break;
    }
    box.setDefaultButton(defaultButton == DefaultButton::no && no ? no : yes);
    box.setEscapeButton(no ? no : yes);
    return yes;
}

QWidget* QtDialogs::owner() const
{
    // The window the user works in: a secondary window stands in for the main window, which is hidden meanwhile.
    if (QWidget* active = QApplication::activeWindow()) return active;
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

bool QtDialogs::ask(int icon, const QString& caption, const std::string& text, Buttons buttons,
                    DefaultButton defaultButton)
{
    if (closed_) return false;
    // While the window is away in the tray a box still has to reach the user: on its own, in front.
    QWidget* const boxOwner = owner();
    QMessageBox box(boxOwner);
    QPushButton* yes = setUpBox(box, icon, caption, text, buttons, defaultButton);
    if (!boxOwner) {
        QTimer::singleShot(0, &box, [&box] {
            box.raise();
            box.activateWindow();
        });
    }
    run(box);
    return box.clickedButton() == yes;
}

void QtDialogs::message(const std::string& text)
{
    ask(QMessageBox::NoIcon, toQt(appinfo::title), text, Buttons::Ok);
}

void QtDialogs::information(const std::string& text)
{
    ask(QMessageBox::Information, qtr("Informationen"), text, Buttons::Ok);
}

void QtDialogs::warning(const std::string& text)
{
    ask(QMessageBox::Warning, qtr("Warnung"), text, Buttons::Ok);
}

void QtDialogs::error(const std::string& text)
{
    ask(QMessageBox::Critical, qtr("Fehler"), text, Buttons::Ok);
}

bool QtDialogs::errorYesNo(const std::string& text)
{
    return ask(QMessageBox::Critical, qtr("Fehler"), text, Buttons::YesNo);
}

bool QtDialogs::errorYesNo(const std::string& text, DefaultButton defaultButton)
{
    return ask(QMessageBox::Critical, qtr("Fehler"), text, Buttons::YesNo, defaultButton);
}

bool QtDialogs::informationYesNo(const std::string& text)
{
    return ask(QMessageBox::Information, qtr("Informationen"), text, Buttons::YesNo);
}

bool QtDialogs::warningYesNo(const std::string& text)
{
    return ask(QMessageBox::Warning, qtr("Warnung"), text, Buttons::YesNo);
}

bool QtDialogs::confirmYesNo(const std::string& text)
{
    return ask(QMessageBox::Question, qtr("Best\u00E4tigen"), text, Buttons::YesNo);
}

bool QtDialogs::warningOkCancel(const std::string& text)
{
    return ask(QMessageBox::Warning, qtr("Warnung"), text, Buttons::OkCancel);
}

std::optional<std::string> QtDialogs::input(const std::string& caption, const std::string& prompt,
                                            const std::string& initial)
{
    if (closed_) return std::nullopt;
    QInputDialog dialog(owner());
    dialog.setWindowTitle(toQt(caption));
    dialog.setLabelText(toQt(prompt));
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(toQt(initial));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(qtr("Abbrechen"));
    if (run(dialog) != QDialog::Accepted) return std::nullopt;
    return fromQt(dialog.textValue());
}

std::optional<std::string> QtDialogs::openFile(const std::string& title, const std::string& filter,
                                               const std::string& initialFolder)
{
    if (closed_) return std::nullopt;
    QFileDialog dialog(owner(), toQt(title), pathToQt(initialFolder), qtNameFilters(toQt(filter)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return pathFromQt(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title)
{
    if (closed_) return std::nullopt;
    QFileDialog dialog(owner(), toQt(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return pathFromQt(dialog.selectedFiles().constFirst());
}

} // namespace quintor::ui
