#include "shell/display_options.h"

#include "runtime/forms/form.h"
#include "shell/language.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace {

QString zoomLevelList()
{
    QStringList levels;
    for (int level : rt::kZoomLevels)
        levels << QString::number(level);
    return levels.join(QStringLiteral(", "));
}

// "200" or "200%", one of the zoom levels.
std::optional<int> zoomFrom(QString text)
{
    text = text.trimmed();
    if (text.endsWith(QLatin1Char('%')))
        text.chop(1);
    bool isNumber = false;
    const int percent = text.toInt(&isNumber);
    if (!isNumber || !rt::isZoomLevel(percent))
        return std::nullopt;
    return percent;
}

}  // namespace

namespace {

// The codes of the languages compiled in: "ja or en".
QString languageChoices(const QString& lastSeparator)
{
    QStringList codes;
    for (const Language& language : availableLanguages())
        codes << languageCode(language);
    const QString last = codes.takeLast();
    return codes.isEmpty() ? last : codes.join(QStringLiteral(", ")) + lastSeparator + last;
}

}  // namespace

void addDisplayOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("zoom"),
                      QStringLiteral("Size of every window in percent: %1.").arg(zoomLevelList()),
                      QStringLiteral("PERCENT")});
    parser.addOption({QStringLiteral("lang"),
                      QStringLiteral("Language of the windows: %1.").arg(languageChoices(QStringLiteral(" or "))),
                      languageChoices(QStringLiteral("|"))});
}

QString readDisplayOptions(const QCommandLineParser& parser, DisplayChoice& choice)
{
    DisplayChoice read;
    if (parser.isSet(QStringLiteral("zoom"))) {
        const QString value = parser.value(QStringLiteral("zoom"));
        read.zoomPercent = zoomFrom(value);
        if (!read.zoomPercent)
            return QStringLiteral("--zoom: \"%1\" is not a zoom level; use one of %2")
                .arg(value, zoomLevelList());
    }
    if (parser.isSet(QStringLiteral("lang"))) {
        const QString value = parser.value(QStringLiteral("lang"));
        read.language = languageFromCode(value.trimmed());
        if (!read.language)
            return QStringLiteral("--lang: \"%1\" is not a language; use %2")
                .arg(value, languageChoices(QStringLiteral(" or ")));
    }
    choice = read;
    return {};
}

void applyDisplayChoice(const DisplayChoice& choice)
{
    if (choice.zoomPercent)
        rt::setZoomPercent(*choice.zoomPercent);
    if (choice.language)
        setLanguage(*choice.language);
}

QString applyDisplayOptions(const QCommandLineParser& parser)
{
    DisplayChoice choice;
    QString error = readDisplayOptions(parser, choice);
    if (error.isEmpty())
        applyDisplayChoice(choice);
    return error;
}
