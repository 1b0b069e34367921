#pragma once

#include <QObject>
#include <qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// Gives QML the Linux wording of a text (see PlatformWording).
class Wording : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE [[nodiscard]] QString adapt(const QString &text) const;
};
