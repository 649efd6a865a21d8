#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <array>
#include <utility>

namespace QtTranslation {

QString LocaleOf(const std::string& languageKey) {
    static const std::array<std::pair<const char*, const char*>, 6> kLocales = {{
        {"CaFrench", "fr"},
        {"French", "fr"},
        {"German", "de"},
        {"LaPortuguese", "pt_BR"},
        {"LaSpanish", "es"},
        {"Spanish", "es"},
    }};
    for (const auto& [key, locale] : kLocales) {
        if (languageKey == key) {
            return QString::fromLatin1(locale);
        }
    }
    return {};
}

bool Install(const std::string& languageKey) {
    // Owned by the application, so it never outlives it.
    static QPointer<QTranslator> installed;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return false;
    }
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const QString locale = LocaleOf(languageKey);
    if (locale.isEmpty()) {
        return false;
    }
    auto* translator = new QTranslator(app);
    if (!translator->load(QLatin1String("qtbase_") + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace QtTranslation
