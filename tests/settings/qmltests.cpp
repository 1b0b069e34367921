#include "settings/settingsstack.h"
#include "themes/themesmodule.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>

// Each QML test runs on preferences, managers and a home of its own, so the
// pages never touch the user's files.
class Setup : public QObject
{
    Q_OBJECT

public:
    Setup()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/data")).toLocal8Bit());
        prepareSymbolIcons();
    }

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        m_stack.emplace();
        m_stack->qml.provideTo(*engine);
    }
    void cleanupTestCase() { m_stack.reset(); }

private:
    QTemporaryDir m_home;
    std::optional<SettingsStack> m_stack;
};

QUICK_TEST_MAIN_WITH_SETUP(settings, Setup)

#include "qmltests.moc"
