#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>

class QJSEngine;
class QQmlEngine;

// The version and build number compiled into the application.
class BuildVersion : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(BuildVersion)
    Q_PROPERTY(QString shortVersion READ shortVersion CONSTANT)
    Q_PROPERTY(QString build READ build CONSTANT)
    // "0.1.0 (Build 1)"
    Q_PROPERTY(QString versionText READ versionText CONSTANT)

public:
    explicit BuildVersion(QString version, QString build, QObject *parent = nullptr);
    static BuildVersion *create(QQmlEngine *, QJSEngine *);

    // "0.0.0" when the build has none.
    [[nodiscard]] QString shortVersion() const;
    // "1" when the build has none.
    [[nodiscard]] QString build() const;
    [[nodiscard]] QString versionText() const;

private:
    QString m_version;
    QString m_build;
};
