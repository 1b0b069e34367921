#include "platform/linux/xdgautostartloginitem.h"

#include "platform/applicationcommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
QString standardFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}
} // namespace

XdgAutostartLoginItem::XdgAutostartLoginItem()
    : XdgAutostartLoginItem(standardFolder(), ApplicationCommand::path())
{}

XdgAutostartLoginItem::XdgAutostartLoginItem(QString folder, QString executable)
    : m_folder(std::move(folder))
    , m_executable(std::move(executable))
{}

QString XdgAutostartLoginItem::entryPath() const
{
    return m_folder + QStringLiteral("/vostrel.desktop");
}

QString XdgAutostartLoginItem::quoteExec(const QString &path)
{
    // Inside double quotes the Desktop Entry format reserves ", `, $ and \.
    QString escaped;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped.append(u'\\');
        escaped.append(c);
    }
    // The Exec value is itself a string value, whose own escape rule doubles
    // every backslash once more.
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return u'"' + escaped + u'"';
}

QString XdgAutostartLoginItem::entryText() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Vostrel\n"
                          "Comment=Privacy lock screen\n"
                          "Exec=%1\n"
                          "Icon=app.vostrel.Vostrel\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(quoteExec(m_executable));
}

LoginItem::Result XdgAutostartLoginItem::registerItem()
{
    if (m_executable.isEmpty())
        return {false, QCoreApplication::translate("LoginItem",
                                                   "The path of the Vostrel program is unknown.")};
    if (!QDir().mkpath(m_folder)) {
        return {false, QCoreApplication::translate("LoginItem", "Could not create the folder %1.")
                           .arg(QDir::toNativeSeparators(m_folder))};
    }
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly)) {
        return {false, QCoreApplication::translate("LoginItem", "Could not write %1: %2")
                           .arg(QDir::toNativeSeparators(entryPath()), file.errorString())};
    }
    file.write(entryText().toUtf8());
    if (!file.commit()) {
        return {false, QCoreApplication::translate("LoginItem", "Could not write %1: %2")
                           .arg(QDir::toNativeSeparators(entryPath()), file.errorString())};
    }
    return {true, {}};
}

LoginItem::Result XdgAutostartLoginItem::unregisterItem()
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return {true, {}};
    return {false, QCoreApplication::translate("LoginItem", "Could not remove %1: %2")
                       .arg(QDir::toNativeSeparators(entryPath()), file.errorString())};
}
