#pragma once

#include <QObject>
#include <QPointer>
#include <qqmlregistration.h>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWebEngineNavigationRequest>

#include <chrono>
#include <optional>

class FileAccessInterceptor;

class ScriptMessageHandler;

// Everything the custom HTML and website lock screens decide, for one view:
// which page to show or which placeholder instead, the file folder the page
// may read, which link clicks may leave the page, and the unlock requests the
// page sends through window.Vostrel.unlock(pin). The PIN goes to the verifier
// (PINManager in the application), so the lockout applies to pages as it does
// to the keyboard; a wrong PIN gives the page no answer.
class WebOverlayBridge : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(WebOverlayBridge)
    // The raw value of the current theme; only "custom_html" and
    // "custom_website" show anything.
    Q_PROPERTY(QString theme READ theme WRITE setTheme NOTIFY themeChanged)
    // "" counts as no file chosen.
    Q_PROPERTY(QString htmlPath READ htmlPath WRITE setHtmlPath NOTIFY htmlPathChanged)
    // As typed by the user; the URL rule is applied here.
    Q_PROPERTY(QString websiteURL READ websiteURL WRITE setWebsiteURL NOTIFY websiteURLChanged)
    // Any object with an invokable bool verifyPIN(QString), PINManager in the
    // application. Without one every unlock request fails.
    Q_PROPERTY(QObject *pinVerifier READ pinVerifier WRITE setPinVerifier NOTIFY pinVerifierChanged)
    // The page to load, empty for none. Changes only when the address does.
    Q_PROPERTY(QUrl pageURL READ pageURL NOTIFY contentChanged)
    // The folder the HTML page may read from; "" for websites.
    Q_PROPERTY(QString readableFolder READ readableFolder NOTIFY contentChanged)
    Q_PROPERTY(bool showsPlaceholder READ showsPlaceholder NOTIFY contentChanged)
    Q_PROPERTY(QString placeholderSymbol READ placeholderSymbol NOTIFY contentChanged)
    Q_PROPERTY(QString placeholderTitle READ placeholderTitle NOTIFY contentChanged)
    Q_PROPERTY(QString placeholderHint READ placeholderHint NOTIFY contentChanged)
    // Set by the page's view while it loads.
    Q_PROPERTY(bool pageLoading READ isPageLoading WRITE setPageLoading NOTIFY pageLoadingChanged)
    // A website still loading loadTimeout after its load began: the view
    // stops it and shows nothing, as for a site that cannot be reached.
    // Cleared when the next load begins.
    Q_PROPERTY(bool timedOut READ hasTimedOut NOTIFY timedOutChanged)

public:
    static constexpr std::chrono::seconds loadTimeout{60};

    explicit WebOverlayBridge(QObject *parent = nullptr);
    ~WebOverlayBridge() override;

    [[nodiscard]] QString theme() const { return m_theme; }
    void setTheme(const QString &theme);
    [[nodiscard]] QString htmlPath() const { return m_htmlPath; }
    void setHtmlPath(const QString &path);
    [[nodiscard]] QString websiteURL() const { return m_websiteURL; }
    void setWebsiteURL(const QString &url);
    [[nodiscard]] QObject *pinVerifier() const { return m_pinVerifier; }
    void setPinVerifier(QObject *verifier);

    [[nodiscard]] QUrl pageURL() const { return m_pageURL; }
    [[nodiscard]] QString readableFolder() const { return m_readableFolder; }
    [[nodiscard]] bool showsPlaceholder() const { return !m_placeholderTitle.isEmpty(); }
    [[nodiscard]] QString placeholderSymbol() const { return m_placeholderSymbol; }
    [[nodiscard]] QString placeholderTitle() const { return m_placeholderTitle; }
    [[nodiscard]] QString placeholderHint() const { return m_placeholderHint; }
    [[nodiscard]] bool isWebsite() const;
    [[nodiscard]] bool isPageLoading() const { return m_isPageLoading; }
    void setPageLoading(bool loading);
    [[nodiscard]] bool hasTimedOut() const { return m_hasTimedOut; }
    // The load timer's tick.
    void expireLoad();

    // Gives a page's web profile and channel what the page needs before it
    // loads: the file confinement, the scripts, and the message handler.
    Q_INVOKABLE void preparePage(QObject *profile, QObject *channel);
    // The navigation policy: on the website, a link the user activates must
    // pass the URL rule; every other navigation goes ahead.
    Q_INVOKABLE void decideNavigation(QWebEngineNavigationRequest *request) const;
    [[nodiscard]] bool allowsNavigation(const QUrl &url, bool isLinkActivation) const;

    // A page's message: an object of strings only, "action" exactly "unlock"
    // and a "pin". The PIN, or nothing when the message is to be ignored.
    [[nodiscard]] static std::optional<QString> unlockPIN(const QVariant &body);
    // Verifies the PIN of a valid message; on a match, unlocked() follows
    // from the event loop.
    void handleMessage(const QVariant &body);
    [[nodiscard]] ScriptMessageHandler *messageHandler() const { return m_handler; }

Q_SIGNALS:
    void themeChanged();
    void htmlPathChanged();
    void websiteURLChanged();
    void pinVerifierChanged();
    void contentChanged();
    void pageLoadingChanged();
    void timedOutChanged();
    void unlocked();

private:
    void updateContent();
    void setTimedOut(bool timedOut);

    ScriptMessageHandler *m_handler;
    QPointer<FileAccessInterceptor> m_interceptor;
    QString m_theme;
    QString m_htmlPath;
    QString m_websiteURL;
    QPointer<QObject> m_pinVerifier;
    QUrl m_pageURL;
    QString m_readableFolder;
    QString m_placeholderSymbol;
    QString m_placeholderTitle;
    QString m_placeholderHint;
    QTimer m_loadTimer;
    bool m_isPageLoading = false;
    bool m_hasTimedOut = false;
};
