#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QVariantList>

class ScheduleManager;
struct ScheduleSlot;

// The Schedule page: the slots as rows the page can draw, and the two edits
// the page offers. Creating it puts the schedule manager to use.
class ScheduleSettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(ScheduleSettings)
    // [{id, timeRange: "09:00 – 17:00", days: "Weekdays"}] in list order.
    Q_PROPERTY(QVariantList rows READ rows NOTIFY rowsChanged)

public:
    explicit ScheduleSettings(ScheduleManager &schedule, QObject *parent = nullptr);

    [[nodiscard]] QVariantList rows() const;
    [[nodiscard]] static QString timeRange(const ScheduleSlot &slot);

    Q_INVOKABLE void addSlot();
    // An id that names no slot changes nothing.
    Q_INVOKABLE void removeSlot(const QString &id);

Q_SIGNALS:
    void rowsChanged();

private:
    ScheduleManager &m_schedule;
};
