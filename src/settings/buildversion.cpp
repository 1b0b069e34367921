#include "settings/buildversion.h"

#include "core/buildinfo.h"

BuildVersion::BuildVersion(QString version, QString build, QObject *parent)
    : QObject(parent)
    , m_version(std::move(version))
    , m_build(std::move(build))
{}

BuildVersion *BuildVersion::create(QQmlEngine *, QJSEngine *)
{
    // The engine owns what this returns.
    return new BuildVersion(QString::fromUtf8(BuildInfo::version),
                            QString::fromUtf8(BuildInfo::build));
}

QString BuildVersion::shortVersion() const
{
    const QString trimmed = m_version.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("0.0.0") : trimmed;
}

QString BuildVersion::build() const
{
    const QString trimmed = m_build.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("1") : trimmed;
}

QString BuildVersion::versionText() const
{
    return tr("%1 (Build %2)").arg(shortVersion(), build());
}
