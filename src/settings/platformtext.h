#pragma once

#include <QObject>
#include <qqmlregistration.h>

// The platform wording table (PlatformWording) for the settings QML:
// facilities shown by the names Linux users know them by.
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
