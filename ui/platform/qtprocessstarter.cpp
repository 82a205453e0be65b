#include "ui/platform/qtprocessstarter.h"

#include "ui/platform/text.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace quintor::ui {
namespace {

bool isWindowsProgram(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return file.read(2) == "MZ";
}

#ifdef Q_OS_WIN
// The parameter text the shell hands on: the arguments separated by one blank, quoted only where
// a blank would split one.
QString parameterText(const QStringList& arguments)
{
    QStringList parts;
    for (const QString& argument : arguments) {
        const bool quote = argument.isEmpty() || argument.contains(u' ') || argument.contains(u'\t');
        parts << (quote ? u'"' + argument + u'"' : argument);
    }
    return parts.join(u' ');
}
#endif

} // namespace

std::optional<StartPlan> planStart(const ProcessCommand& command)
{
    const QString program = pathToQt(command.program);
    QStringList arguments;
    for (const auto& argument : command.arguments)
        arguments << toQt(argument);
    const QString folder = pathToQt(command.workingFolder);

    const QFileInfo file(program);
    if (!file.isFile()) return std::nullopt;
    if (isWindowsProgram(program)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (!wine.isEmpty()) return StartPlan{wine, QStringList{file.absoluteFilePath()} + arguments, folder};
    }
    if (file.isExecutable()) return StartPlan{file.absoluteFilePath(), arguments, folder};
    return std::nullopt;
}

void QtProcessStarter::start(const ProcessCommand& command)
{
#ifdef Q_OS_WIN
    QStringList arguments;
    for (const auto& argument : command.arguments)
        arguments << toQt(argument);
    const std::wstring file = pathToQt(command.program).toStdWString();
    const std::wstring parameters = parameterText(arguments).toStdWString();
    const std::wstring folder = pathToQt(command.workingFolder).toStdWString();
    ::ShellExecuteW(nullptr, L"open", file.c_str(), parameters.c_str(), folder.c_str(), SW_SHOWDEFAULT);
#else
    const auto plan = planStart(command);
    if (plan) QProcess::startDetached(plan->program, plan->arguments, plan->workingFolder);
#endif
}

} // namespace quintor::ui
