#include "shell/language.h"

#include "runtime/text/catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

Language g_language = Language::Japanese;

QTranslator& translator()
{
    static QTranslator instance;
    return instance;
}

// Qt's own texts (file dialogs, a text box's menu) from Qt's catalogues.
QTranslator& qtTranslator()
{
    static QTranslator instance;
    return instance;
}

QString qmOf(Language language)
{
    return QStringLiteral(":/i18n/springlab_%1.qm").arg(languageCode(language));
}

}  // namespace

std::vector<Language> availableLanguages()
{
    std::vector<Language> languages{Language::Japanese};
    const QStringList files = QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("springlab_*.qm")}, QDir::Files,
                                                                        QDir::Name);
    for (const QString& file : files) {
        const QString code = file.mid(10, file.size() - 13);  // springlab_<code>.qm
        if (!code.isEmpty() && code.size() < 16 && code != QLatin1String("ja"))
            languages.emplace_back(code.toStdString());
    }
    return languages;
}

QString languageName(Language language)
{
    // The table made from the same translation files as the .qm files, so
    // the browser names each language alike.
    const std::string_view name = rt::text::languageName(language.code());
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<Language> languageFromCode(const QString& code)
{
    for (const Language& language : availableLanguages())
        if (languageCode(language) == code)
            return language;
    return std::nullopt;
}

QString languageCode(Language language)
{
    const std::string_view code = language.code();
    return QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
}

Language currentLanguage() { return g_language; }

void setLanguage(Language language)
{
    // The first call applies even the language the program starts in, so
    // Qt's own texts take it too.
    static bool applied = false;
    if (applied && language == g_language)
        return;
    // Japanese needs no translator of the program's: its texts are written
    // in it. Qt's own texts are English unless Qt's catalogue says otherwise.
    QCoreApplication::removeTranslator(&translator());
    QCoreApplication::removeTranslator(&qtTranslator());
    if (!(language == Language::Japanese)) {
        if (!translator().load(qmOf(language)))
            return;  // not built in: the program stays as it was
        QCoreApplication::installTranslator(&translator());
    }
    if (qtTranslator().load(QStringLiteral("qtbase_") + languageCode(language),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator());
    g_language = language;
    applied = true;
    // The windows are told by posted events; they are delivered here, so
    // every open window shows the new language when this returns.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}
