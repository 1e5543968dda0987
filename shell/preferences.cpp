#include "shell/preferences.h"

#include "runtime/forms/form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

#include <map>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kZoomKey = QStringLiteral("view/zoom");
const QString kLanguageKey = QStringLiteral("language");

// A settings file of the program's own holds two short lines; anything much
// larger is not one.
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

QString settingsPath() { return settingsFilePath(); }

// The file's bytes, only when it is an ordinary file of sane size: a FIFO
// there would block the start for ever, a device would never end. Opened
// without waiting, then checked on the descriptor itself, so nothing can be
// swapped in between.
std::optional<QByteArray> readOrdinaryFile(const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    QByteArray bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxSettingsBytes;
    if (ok) {
        bytes.resize(static_cast<qsizetype>(st.st_size));
        qsizetype got = 0;
        while (ok && got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, static_cast<std::size_t>(bytes.size() - got));
            ok = n > 0;
            got += n > 0 ? n : 0;
        }
    }
    ::close(fd);
    return ok ? std::optional<QByteArray>(bytes) : std::nullopt;
#else
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxSettingsBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(kMaxSettingsBytes + 1);
#endif
}

// The plain "key=value" lines of the file, under their [section]s, as
// QSettings writes them. Values Qt would decode into objects (@Variant,
// @ByteArray, ...) are left out: nothing the program stores looks so, and
// decoding them trusts sizes written in the file.
std::map<QString, QString> readSettings()
{
    std::map<QString, QString> values;
    const std::optional<QByteArray> bytes = readOrdinaryFile(settingsPath());
    if (!bytes)
        return values;
    QString section;
    for (const QString& raw : QString::fromUtf8(*bytes).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (value.startsWith(QLatin1Char('@')))
            continue;
        values[section.isEmpty() || section == QLatin1String("General") ? key : section + QLatin1Char('/') + key] =
            value;
    }
    return values;
}

// The file may be written only where reading it is safe: absent, or an
// ordinary file of sane size. Anything else there is left as it is, and the
// choice is simply not remembered.
bool writable()
{
    const QFileInfo info(settingsPath());
    if (!info.exists() && !info.isSymLink())
        return true;
    return readOrdinaryFile(settingsPath()).has_value();
}

// Writes both choices afresh (the file holds nothing else of the program's),
// to a temporary file renamed over the old one.
void store(const QString& key, const QString& value)
{
    if (!writable())
        return;
    std::map<QString, QString> values = readSettings();
    values[key] = value;
    QString general, view;
    if (const auto it = values.find(kLanguageKey); it != values.end())
        general = QStringLiteral("[General]\nlanguage=%1\n\n").arg(it->second);
    if (const auto it = values.find(kZoomKey); it != values.end())
        view = QStringLiteral("[view]\nzoom=%1\n").arg(it->second);
    QFileInfo(settingsPath()).dir().mkpath(QStringLiteral("."));
    QSaveFile file(settingsPath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write((general + view).toUtf8());
        file.commit();
    }
}

}  // namespace

QString settingsFilePath()
{
    // Where QSettings() keeps the program's file, found without opening it
    // (QSettings reads its file as it is made): the folder of a file of
    // another name that nobody makes, then the program's own name in it.
    const QString probe = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                    QStringLiteral("SpringLab-settings-probe"), QStringLiteral("probe"))
                              .fileName();
    QDir folder = QFileInfo(probe).dir();
    folder.cdUp();
    QString organization = QCoreApplication::organizationName();
    if (organization.isEmpty())
        organization = QStringLiteral("Unknown Organization");
    return folder.filePath(organization + QLatin1Char('/') + QCoreApplication::applicationName()
                           + QStringLiteral(".conf"));
}

void restorePreferences()
{
    const std::map<QString, QString> values = readSettings();
    if (const auto it = values.find(kZoomKey); it != values.end()) {
        bool isNumber = false;
        const int zoom = it->second.toInt(&isNumber);
        if (isNumber)
            rt::setZoomPercent(zoom);  // ignores anything but a zoom level
    }
    if (const auto it = values.find(kLanguageKey); it != values.end())
        if (const auto language = languageFromCode(it->second))
            setLanguage(*language);
}

void rememberZoomChanges()
{
    rt::setZoomListener([](int percent) { store(kZoomKey, QString::number(percent)); });
}

void rememberLanguage(Language language) { store(kLanguageKey, languageCode(language)); }
