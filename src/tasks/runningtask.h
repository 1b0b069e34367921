#pragma once

#include "tasks/taskcategory.h"

#include <QMetaType>
#include <qqmlregistration.h>
#include <QString>
#include <QUuid>
#include <QVariant>

#include <optional>

// One entry of the task list: a recognised process or an open application.
// Identity does not outlive the scan that found it.
struct RunningTask
{
    Q_GADGET
    QML_VALUE_TYPE(runningTask)
    Q_PROPERTY(QString id READ idText CONSTANT)
    Q_PROPERTY(QString name MEMBER name CONSTANT)
    Q_PROPERTY(QString displayName MEMBER displayName CONSTANT)
    Q_PROPERTY(bool isGUIApp MEMBER isGUIApp CONSTANT)
    Q_PROPERTY(TaskCategories::TaskCategory category MEMBER category CONSTANT)
    // undefined in QML when the task shows no progress, else 0…1.
    Q_PROPERTY(QVariant progress READ progressValue CONSTANT)
    Q_PROPERTY(QString agentIcon READ agentIconName CONSTANT)

public:
    QUuid id = QUuid::createUuid();
    // Processes: the lower-cased executable name; applications: their name.
    QString name;
    QString displayName;
    bool isGUIApp = false;
    TaskCategory category = TaskCategory::App;
    std::optional<double> progress;

    // The symbol shown beside an agent on the lock screen, from the task's
    // name: the first of claude, cursor, copilot and chatgpt that the
    // lower-cased name contains picks its symbol; anything else is "cpu".
    [[nodiscard]] static QString agentIcon(QStringView name);

    [[nodiscard]] QString idText() const { return id.toString(QUuid::WithoutBraces); }
    [[nodiscard]] QVariant progressValue() const;
    [[nodiscard]] QString agentIconName() const { return agentIcon(name); }

    // Everything but the identity: two scans that found the same work give
    // equal tasks under this comparison.
    [[nodiscard]] bool isSameWork(const RunningTask &other) const;
};

Q_DECLARE_METATYPE(RunningTask)
