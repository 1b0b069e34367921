#include "settings/calendarsourcelist.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/calendarlocation.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
QStringList nonBlankLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\\r\\n]+"));
    QStringList lines;
    for (const QString &line : text.split(lineBreak)) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    return lines;
}
} // namespace

CalendarSourceList::CalendarSourceList(Preferences &defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
{
    connect(&m_defaults, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == PreferenceKey::calendarSources)
            Q_EMIT sourcesChanged();
    });
}

QStringList CalendarSourceList::sources() const
{
    return nonBlankLines(m_defaults.string(PreferenceKey::calendarSources).value_or(QString()));
}

bool CalendarSourceList::add(const QString &text)
{
    const QStringList lines = nonBlankLines(text);
    if (lines.isEmpty()) {
        setError(tr("Enter a file path or an https:// address."));
        return false;
    }
    QStringList current = sources();
    QStringList added;
    for (const QString &line : lines) {
        if (!CalendarLocation::url(line).isValid()) {
            setError(tr("Not a calendar source: %1. Use an absolute file path or an "
                        "http(s):// address.")
                         .arg(line.left(80)));
            return false;
        }
        if (!current.contains(line) && !added.contains(line))
            added.append(line);
    }
    if (added.isEmpty()) {
        setError(tr("Already in the list."));
        return false;
    }
    setError(QString());
    store(current + added);
    return true;
}

void CalendarSourceList::remove(int index)
{
    QStringList current = sources();
    if (index < 0 || index >= current.size())
        return;
    current.removeAt(index);
    store(current);
}

void CalendarSourceList::store(const QStringList &sources)
{
    if (sources.isEmpty())
        m_defaults.remove(PreferenceKey::calendarSources);
    else
        m_defaults.setString(PreferenceKey::calendarSources, sources.join(QLatin1Char('\n')));
}

void CalendarSourceList::setError(const QString &error)
{
    if (error == m_error)
        return;
    m_error = error;
    Q_EMIT errorChanged();
}
