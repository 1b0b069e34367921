#include "tasks/desktopentry.h"

#include <QHash>
#include <QList>

namespace {
QString unescape(QStringView value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case u's':
            text += u' ';
            break;
        case u'n':
            text += u'\n';
            break;
        case u't':
            text += u'\t';
            break;
        case u'r':
            text += u'\r';
            break;
        case u'\\':
            text += u'\\';
            break;
        default:
            // Not an escape of the format: kept as written.
            text += u'\\';
            text += value[i];
        }
    }
    return text;
}

// "de_AT.UTF-8@euro" → the keys to try, most specific first.
QStringList localeSuffixes(const QString &locale)
{
    QString rest = locale;
    QString modifier;
    if (const qsizetype at = rest.indexOf(u'@'); at >= 0) {
        modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    if (const qsizetype dot = rest.indexOf(u'.'); dot >= 0)
        rest.truncate(dot);
    QString lang = rest;
    QString country;
    if (const qsizetype underscore = rest.indexOf(u'_'); underscore >= 0) {
        lang = rest.left(underscore);
        country = rest.mid(underscore + 1);
    }
    if (lang.isEmpty() || lang == u"C" || lang == u"POSIX")
        return {};
    QStringList suffixes;
    if (!country.isEmpty() && !modifier.isEmpty())
        suffixes << lang + u'_' + country + u'@' + modifier;
    if (!country.isEmpty())
        suffixes << lang + u'_' + country;
    if (!modifier.isEmpty())
        suffixes << lang + u'@' + modifier;
    suffixes << lang;
    return suffixes;
}
} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray &contents, const QString &locale)
{
    const QString text = QString::fromUtf8(contents);
    bool inMainGroup = false;
    bool sawMainGroup = false;
    QHash<QString, QString> values;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            // Only the first [Desktop Entry] group counts; keys of a repeated
            // one are ignored.
            inMainGroup = !sawMainGroup && line == u"[Desktop Entry]";
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.first(equals).trimmed().toString();
        if (!values.contains(key))
            values.insert(key, unescape(line.sliced(equals + 1).trimmed()));
    }
    if (!sawMainGroup)
        return std::nullopt;

    DesktopEntry entry;
    for (const QString &suffix : localeSuffixes(locale)) {
        const QString localized = values.value(QStringLiteral("Name[") + suffix + u']');
        if (!localized.isEmpty()) {
            entry.name = localized;
            break;
        }
    }
    if (entry.name.isEmpty())
        entry.name = values.value(QStringLiteral("Name"));
    if (entry.name.isEmpty())
        return std::nullopt;
    entry.type = values.value(QStringLiteral("Type"));
    entry.startupWMClass = values.value(QStringLiteral("StartupWMClass"));
    entry.isHidden = values.value(QStringLiteral("Hidden")) == u"true";
    return entry;
}

QString DesktopEntry::messagesLocale()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}
