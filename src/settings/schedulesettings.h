#pragma once

#include "core/gadgetlistmodel.h"

#include <QObject>
#include <qqmlregistration.h>
#include <QString>

class ScheduleManager;
struct ScheduleSlot;

// One slot as the Schedule page draws it.
struct ScheduleRow
{
    Q_GADGET
    // What removeSlot() takes.
    Q_PROPERTY(QString slotId MEMBER slotId CONSTANT)
    // "09:00 – 17:00"
    Q_PROPERTY(QString timeRange MEMBER timeRange CONSTANT)
    // "Weekdays"
    Q_PROPERTY(QString days MEMBER days CONSTANT)

public:
    QString slotId;
    QString timeRange;
    QString days;
};

// The Schedule page: the slots as rows the page can draw, and the two edits
// the page offers. Creating it puts the schedule manager to use.
class ScheduleSettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(ScheduleSettings)
    // ScheduleRow values in list order.
    Q_PROPERTY(QAbstractListModel *rows READ rowModel CONSTANT)

public:
    explicit ScheduleSettings(ScheduleManager &schedule, QObject *parent = nullptr);

    [[nodiscard]] GadgetListModel<ScheduleRow> *rowModel() { return &m_rows; }
    [[nodiscard]] const QList<ScheduleRow> &rows() const { return m_rows.items(); }
    [[nodiscard]] static QString timeRange(const ScheduleSlot &slot);

    Q_INVOKABLE void addSlot();
    // An id that names no slot changes nothing.
    Q_INVOKABLE void removeSlot(const QString &id);

Q_SIGNALS:
    void rowsChanged();

private:
    void refreshRows();

    ScheduleManager &m_schedule;
    GadgetListModel<ScheduleRow> m_rows{this};
};
