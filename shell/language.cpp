#include "shell/language.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTranslator>

namespace {

Language g_language = Language::Japanese;

QTranslator& translator()
{
    static QTranslator instance;
    return instance;
}

}  // namespace

std::optional<Language> languageFromCode(const QString& code)
{
    if (code == QLatin1String("ja"))
        return Language::Japanese;
    if (code == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

QString languageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("ja");
}

Language currentLanguage() { return g_language; }

void setLanguage(Language language)
{
    if (language == g_language)
        return;
    // Japanese needs no translator: the program's texts are written in it.
    QCoreApplication::removeTranslator(&translator());
    if (language == Language::English) {
        if (!translator().load(QStringLiteral(":/i18n/springlab_en.qm")))
            return;  // not built in: the program stays in Japanese
        QCoreApplication::installTranslator(&translator());
    }
    g_language = language;
    // The windows are told by posted events; they are delivered here, so
    // every open window shows the new language when this returns.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}
