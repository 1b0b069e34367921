#include "weboverlay/weboverlaybridge.h"

#include "weboverlay/bridgescripts.h"
#include "weboverlay/fileaccessinterceptor.h"
#include "weboverlay/scriptmessagehandler.h"
#include "weboverlay/weboverlaylog.h"
#include "weboverlay/websiteurl.h"

#include <QFileInfo>
#include <QQuickWebEngineProfile>
#include <QWebChannel>
#include <QWebEngineNavigationRequest>

namespace {
constexpr QLatin1String htmlTheme("custom_html");
constexpr QLatin1String websiteTheme("custom_website");
} // namespace

WebOverlayBridge::WebOverlayBridge(QObject *parent)
    : QObject(parent)
    , m_handler(
          new ScriptMessageHandler([this](const QVariant &body) { handleMessage(body); }, this))
{
    m_loadTimer.setSingleShot(true);
    m_loadTimer.setInterval(loadTimeout);
    connect(&m_loadTimer, &QTimer::timeout, this, &WebOverlayBridge::expireLoad);
}

WebOverlayBridge::~WebOverlayBridge() = default;

void WebOverlayBridge::setTheme(const QString &theme)
{
    if (m_theme == theme)
        return;
    m_theme = theme;
    Q_EMIT themeChanged();
    updateContent();
}

void WebOverlayBridge::setHtmlPath(const QString &path)
{
    if (m_htmlPath == path)
        return;
    m_htmlPath = path;
    Q_EMIT htmlPathChanged();
    updateContent();
}

void WebOverlayBridge::setWebsiteURL(const QString &url)
{
    if (m_websiteURL == url)
        return;
    m_websiteURL = url;
    Q_EMIT websiteURLChanged();
    updateContent();
}

void WebOverlayBridge::setPinVerifier(QObject *verifier)
{
    if (m_pinVerifier == verifier)
        return;
    m_pinVerifier = verifier;
    Q_EMIT pinVerifierChanged();
}

bool WebOverlayBridge::isWebsite() const
{
    return m_theme == websiteTheme;
}

void WebOverlayBridge::setPageLoading(bool loading)
{
    if (loading == m_isPageLoading)
        return;
    m_isPageLoading = loading;
    Q_EMIT pageLoadingChanged();
    if (!loading) {
        m_loadTimer.stop();
        return;
    }
    setTimedOut(false);
    // Only a website waits on the network; an HTML file is the user's own.
    if (isWebsite())
        m_loadTimer.start();
}

void WebOverlayBridge::expireLoad()
{
    m_loadTimer.stop();
    if (m_isPageLoading && isWebsite())
        setTimedOut(true);
}

void WebOverlayBridge::setTimedOut(bool timedOut)
{
    if (timedOut == m_hasTimedOut)
        return;
    m_hasTimedOut = timedOut;
    Q_EMIT timedOutChanged();
}

void WebOverlayBridge::updateContent()
{
    QUrl page;
    QString folder;
    QString symbol;
    QString title;
    QString hint;
    if (m_theme == htmlTheme) {
        if (m_htmlPath.isEmpty()) {
            symbol = QStringLiteral("chevron.left.forwardslash.chevron.right");
            title = tr("No HTML file selected");
            hint = tr("Set one in Settings → Overlay & Themes");
        } else if (const QFileInfo file(m_htmlPath); file.isFile()) {
            // A path that names no file, or a folder, shows an empty page: no
            // page at all, which looks the same and starts no web engine.
            page = QUrl::fromLocalFile(file.absoluteFilePath());
            folder = file.absolutePath();
        }
    } else if (isWebsite()) {
        if (const auto url = validatedWebsiteURL(m_websiteURL)) {
            page = *url;
        } else {
            symbol = QStringLiteral("globe");
            title = tr("No website URL");
            hint = tr("Add an https:// URL in Settings → Overlay & Themes");
        }
    }
    if (page == m_pageURL && folder == m_readableFolder && title == m_placeholderTitle &&
        symbol == m_placeholderSymbol)
        return;
    if (page != m_pageURL) {
        // The view's load of the new address restarts the timer.
        m_loadTimer.stop();
        setTimedOut(false);
    }
    m_pageURL = page;
    m_readableFolder = folder;
    m_placeholderSymbol = symbol;
    m_placeholderTitle = title;
    m_placeholderHint = hint;
    if (m_interceptor)
        m_interceptor->setFolder(m_readableFolder);
    Q_EMIT contentChanged();
}

void WebOverlayBridge::preparePage(QObject *profileObject, QObject *channelObject)
{
    auto *profile = qobject_cast<QQuickWebEngineProfile *>(profileObject);
    auto *channel = qobject_cast<QWebChannel *>(channelObject);
    if (!profile || !channel) {
        qCWarning(lcWebOverlay,
                  "WebOverlayBridge: preparePage needs a WebEngineProfile and a WebChannel");
        return;
    }
    // Owned by the profile, which may outlive this object while the page
    // still loads.
    if (!m_interceptor) {
        m_interceptor = new FileAccessInterceptor(profile);
        profile->setUrlRequestInterceptor(m_interceptor);
    }
    m_interceptor->setFolder(m_readableFolder);

    // The script collection's class is private to Qt; its invokable insert is
    // the public way in.
    QObject *scripts = profile->property("userScripts").value<QObject *>();
    if (!scripts ||
        !QMetaObject::invokeMethod(scripts, "insert",
                                   Q_ARG(QList<QWebEngineScript>, BridgeScripts::userScripts())))
        qCWarning(lcWebOverlay,
                  "WebOverlayBridge: the bridge scripts could not be added; pages cannot unlock");
    channel->registerObject(QStringLiteral("vostrel"), m_handler);
}

void WebOverlayBridge::decideNavigation(QWebEngineNavigationRequest *request) const
{
    if (!request)
        return;
    const bool isLink =
        request->navigationType() == QWebEngineNavigationRequest::LinkClickedNavigation;
    if (allowsNavigation(request->url(), isLink))
        request->accept();
    else
        request->reject();
}

bool WebOverlayBridge::allowsNavigation(const QUrl &url, bool isLinkActivation) const
{
    if (!isWebsite() || !isLinkActivation || url.isEmpty())
        return true;
    return validatedWebsiteURL(url.toString(QUrl::FullyEncoded)).has_value();
}

std::optional<QString> WebOverlayBridge::unlockPIN(const QVariant &body)
{
    if (body.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap message = body.toMap();
    // Type checks, not conversions: QVariant would compare the number 1234
    // equal to the text "1234".
    for (auto it = message.cbegin(); it != message.cend(); ++it) {
        if (it.value().typeId() != QMetaType::QString)
            return std::nullopt;
    }
    const auto action = message.constFind(QStringLiteral("action"));
    if (action == message.cend() || action->toString() != QLatin1String("unlock"))
        return std::nullopt;
    const auto pin = message.constFind(QStringLiteral("pin"));
    if (pin == message.cend())
        return std::nullopt;
    return pin->toString();
}

void WebOverlayBridge::handleMessage(const QVariant &body)
{
    const auto pin = unlockPIN(body);
    if (!pin)
        return;
    if (!m_pinVerifier) {
        qCWarning(lcWebOverlay,
                  "WebOverlayBridge: no PIN verifier; the page's unlock request is refused");
        return;
    }
    bool matches = false;
    if (!QMetaObject::invokeMethod(m_pinVerifier, "verifyPIN", Qt::DirectConnection,
                                   Q_RETURN_ARG(bool, matches), Q_ARG(QString, *pin))) {
        qCWarning(lcWebOverlay, "WebOverlayBridge: the PIN verifier has no verifyPIN(QString)");
        return;
    }
    if (matches)
        QMetaObject::invokeMethod(this, &WebOverlayBridge::unlocked, Qt::QueuedConnection);
}
