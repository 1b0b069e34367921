#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QUrl>

#include <functional>

class UpdateCheckerAdapter;

// What the About page shows and opens: the update state of the shared
// checker, the platform, and the maker's support and legal pages.
class AboutModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(AboutModel)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateChanged)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY updateChanged)
    Q_PROPERTY(QString downloadURL READ downloadURL NOTIFY updateChanged)
    // "v1.2.0 available" while an update is known, else empty.
    Q_PROPERTY(QString availableText READ availableText NOTIFY updateChanged)
    // "Download Update" when there is something to download, else "Check for
    // Updates".
    Q_PROPERTY(QString updateButtonTitle READ updateButtonTitle NOTIFY updateChanged)
    // "Linux (X11)" or "Linux (Wayland)", after the session's type.
    Q_PROPERTY(QString platform READ platform CONSTANT)
    Q_PROPERTY(QString supportEmail READ supportEmail CONSTANT)
    Q_PROPERTY(QUrl supportURL READ supportURL CONSTANT)
    Q_PROPERTY(QUrl discussionsURL READ discussionsURL CONSTANT)
    Q_PROPERTY(QUrl documentationURL READ documentationURL CONSTANT)
    Q_PROPERTY(QUrl privacyURL READ privacyURL CONSTANT)
    Q_PROPERTY(QUrl termsURL READ termsURL CONSTANT)

public:
    using UrlOpener = std::function<bool(const QUrl &)>;

    AboutModel(QObject *checker, UrlOpener opener, QObject *parent = nullptr);

    [[nodiscard]] bool updateAvailable() const;
    [[nodiscard]] QString latestVersion() const;
    [[nodiscard]] QString downloadURL() const;
    [[nodiscard]] QString availableText() const;
    [[nodiscard]] QString updateButtonTitle() const;
    [[nodiscard]] bool canDownload() const;

    [[nodiscard]] static QString platform();
    [[nodiscard]] static QString supportEmail();
    [[nodiscard]] static QUrl supportURL();
    [[nodiscard]] static QUrl discussionsURL();
    [[nodiscard]] static QUrl documentationURL();
    [[nodiscard]] static QUrl privacyURL();
    [[nodiscard]] static QUrl termsURL();

    // Opens the download, or starts a check.
    Q_INVOKABLE void updateAction();
    // Only http(s) and mailto links are handed on; returns whether it opened.
    Q_INVOKABLE bool openLink(const QUrl &url);

Q_SIGNALS:
    void updateChanged();

private:
    UpdateCheckerAdapter *m_checker = nullptr;
    UrlOpener m_opener;
};
