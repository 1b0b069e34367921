#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QStringList>

class Preferences;

// The iCalendar sources of the calendar lock, kept in "calendarSources" one
// per line. The page adds and removes; the calendar store follows the key.
class CalendarSourceList : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(CalendarSourceList)
    Q_PROPERTY(QStringList sources READ sources NOTIFY sourcesChanged)
    // Why the last add was refused, "" after one that succeeded.
    Q_PROPERTY(QString error READ error NOTIFY errorChanged)

public:
    explicit CalendarSourceList(Preferences &defaults, QObject *parent = nullptr);

    // The stored lines, trimmed, without blank ones.
    [[nodiscard]] QStringList sources() const;
    [[nodiscard]] QString error() const { return m_error; }

    // Each line of the text (a pasted list adds every line) that names an
    // absolute file or an http(s) address and is not listed yet. Nothing is
    // stored when any line is neither. True when something was added.
    Q_INVOKABLE bool add(const QString &text);
    // An index outside the list changes nothing.
    Q_INVOKABLE void remove(int index);

Q_SIGNALS:
    void sourcesChanged();
    void errorChanged();

private:
    void setError(const QString &error);
    void store(const QStringList &sources);

    Preferences &m_defaults;
    QString m_error;
};
