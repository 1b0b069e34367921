#include "settings/settingswindowcontroller.h"

#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "settings/settingsappearance.h"
#include "settings/settingslog.h"
#include "settings/settingsnavigation.h"
#include "settings/settingswindowgeometry.h"
#include "themes/themesmodule.h"

#include <QDebug>
#include <QGuiApplication>
#include <QIcon>
#include <QQmlEngine>
#include <QQuickView>
#include <QScreen>

SettingsWindowController::SettingsWindowController(const Services &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
{}

SettingsWindowController::~SettingsWindowController()
{
    delete m_window;
}

QQmlEngine *SettingsWindowController::engine()
{
    if (!m_engine) {
        prepareSymbolIcons();
        m_engine = new QQmlEngine(this);
        m_engine->addImportPath(QStringLiteral("qrc:/"));
        m_services.qml.provideTo(*m_engine);
    }
    return m_engine;
}

bool SettingsWindowController::isVisible() const
{
    return m_window && m_window->isVisible();
}

void SettingsWindowController::show(SettingsPage page)
{
    m_services.navigation.setSelectedPage(page);
    if (isVisible()) {
        m_window->raise();
        m_window->requestActivate();
        return;
    }
    build();
}

void SettingsWindowController::build()
{
    if (m_window)
        m_window->deleteLater();
    if (m_appearance)
        m_appearance->deleteLater();

    auto *appearance = new SettingsAppearance(m_services.defaults, m_services.desktop);
    auto *window = new QQuickView(engine(), nullptr);
    appearance->setParent(window);
    m_appearance = appearance;
    m_window = window;

    window->setTitle(tr("Vostrel Settings"));
    window->setIcon(QIcon(QStringLiteral(":/vostrel/vostrel.svg")));
    window->setResizeMode(QQuickView::SizeRootObjectToView);
    window->setMinimumSize(SettingsWindowGeometry::minimumSize);
    window->setColor(appearance->isDark() ? QColor(0x1c, 0x1b, 0x21) : QColor(0xf4, 0xf3, 0xf7));
    connect(appearance, &SettingsAppearance::darkChanged, window, [window, appearance] {
        window->setColor(appearance->isDark() ? QColor(0x1c, 0x1b, 0x21)
                                              : QColor(0xf4, 0xf3, 0xf7));
    });
    window->setInitialProperties(
        {{QStringLiteral("appearance"), QVariant::fromValue(appearance)},
         {QStringLiteral("navigation"), QVariant::fromValue(&m_services.navigation)}});
    window->setSource(QUrl(QStringLiteral("qrc:/Vostrel/Settings/SettingsView.qml")));
    if (window->status() == QQuickView::Error) {
        for (const QQmlError &error : window->errors())
            qCWarning(lcSettings).noquote() << "SettingsWindowController:" << error.toString();
    }
    window->setGeometry(SettingsWindowGeometry::frame(SettingsWindowGeometry::referenceRect(
        QGuiApplication::primaryScreen(), QGuiApplication::screens())));
    connect(window, &QWindow::visibleChanged, this, [window](bool visible) {
        if (!visible)
            window->deleteLater();
    });
    window->show();
    window->raise();
    window->requestActivate();
    Q_EMIT windowBuilt();
}
