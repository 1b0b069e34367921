#include "settings/onboardingwindowcontroller.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "settings/onboardingflow.h"
#include "settings/settingsappearance.h"
#include "settings/settingslog.h"
#include "themes/thememanager.h"
#include "themes/themesmodule.h"

#include <QDebug>
#include <QGuiApplication>
#include <QIcon>
#include <QQmlEngine>
#include <QScreen>

OnboardingWindowController::OnboardingWindowController(const Services &services, QObject *parent)
    : QObject(parent)
    , m_services(services)
{}

OnboardingWindowController::~OnboardingWindowController()
{
    delete m_window;
}

QQmlEngine *OnboardingWindowController::engine()
{
    if (!m_engine) {
        prepareSymbolIcons();
        m_engine = new QQmlEngine(this);
        m_engine->addImportPath(QStringLiteral("qrc:/"));
        m_services.qml.provideTo(*m_engine);
    }
    return m_engine;
}

void OnboardingWindowController::show(bool pinNeeded)
{
    if (m_services.defaults.boolValue(PreferenceKey::hasCompletedOnboarding))
        return;
    if (isVisible()) {
        if (pinNeeded && m_flow)
            m_flow->setPinNeeded(true);
        m_window->raise();
        m_window->requestActivate();
        return;
    }
    if (m_window)
        m_window->deleteLater();

    auto *window = new QQuickView(engine(), nullptr);
    m_window = window;
    auto *flow = new OnboardingFlow(m_services.defaults, m_services.themes, window);
    flow->setPinNeeded(pinNeeded);
    m_flow = flow;
    auto *appearance = new SettingsAppearance(m_services.defaults, m_services.desktop, window);
    connect(flow, &OnboardingFlow::completed, this, &OnboardingWindowController::complete);

    window->setTitle(tr("Welcome to Vostrel"));
    window->setIcon(QIcon(QStringLiteral(":/vostrel/vostrel.svg")));
    window->setResizeMode(QQuickView::SizeRootObjectToView);
    window->setMinimumSize(contentSize);
    window->setMaximumSize(contentSize);
    window->setInitialProperties({{QStringLiteral("flow"), QVariant::fromValue(flow)},
                                  {QStringLiteral("appearance"), QVariant::fromValue(appearance)}});
    window->setSource(QUrl(QStringLiteral("qrc:/Vostrel/Settings/OnboardingView.qml")));
    if (window->status() == QQuickView::Error) {
        for (const QQmlError &error : window->errors())
            qCWarning(lcSettings).noquote() << "OnboardingWindowController:" << error.toString();
    }
    QRect frame(QPoint(), contentSize);
    QScreen *screen = QGuiApplication::primaryScreen();
    frame.moveCenter(screen ? screen->availableGeometry().center() : QPoint(960, 540));
    window->setGeometry(frame);
    window->show();
    window->raise();
    window->requestActivate();
}

void OnboardingWindowController::complete()
{
    if (m_window) {
        m_window->close();
        m_window->deleteLater();
    }
    Q_EMIT finished();
}
