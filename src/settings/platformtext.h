#pragma once

#include <QObject>
#include <qqmlregistration.h>

// The platform wording table (PlatformWording) for the settings QML: texts
// written for another desktop shown with their Linux counterparts.
class PlatformText : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(PlatformText)

public:
    using QObject::QObject;

    Q_INVOKABLE [[nodiscard]] static QString adapt(const QString &text);
};
