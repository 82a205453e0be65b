#include "ui/platform/language.h"

#include "ui/platform/text.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quintor::ui {

std::vector<std::string> catalogCandidatesOf(Language language, const std::vector<std::string>& extraLocaleFolders)
{
    return catalogCandidates(pathFromQt(QCoreApplication::applicationDirPath()) + "/", language, extraLocaleFolders);
}

Language setUpLanguage(QCoreApplication& application, const std::string& appFolder,
                       const std::vector<std::string>& extraLocaleFolders)
{
    const Language wanted = chooseLanguage(storedLanguageSetting(appFolder), LocaleEnvironment::current());
    const Language used =
        useLanguage(wanted, catalogCandidatesOf(wanted, extraLocaleFolders)) ? wanted : Language::german;
    // Qt's standard texts are English without a translation.
    if (used == Language::german) {
        auto* translator = new QTranslator(&application);
        if (translator->load(QLocale(QLocale::German), QStringLiteral("qt"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
    return used;
}

} // namespace quintor::ui
