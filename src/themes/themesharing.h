#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <optional>

class ThemeManager;

// The share-link actions of the Overlay & Themes page: "Copy Link" puts the
// current look on the clipboard as a link, "Import" adopts a pasted link or
// bare Base64 text. Each shows its outcome for two seconds; the page binds to
// the texts and never decides anything itself.
class ThemeSharing : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(ThemeSharing)
    // "Copy Link", or "Copied!" for two seconds after a copy.
    Q_PROPERTY(QString copyButtonTitle READ copyButtonTitle NOTIFY copyButtonTitleChanged)
    Q_PROPERTY(bool isLinkCopied READ isLinkCopied NOTIFY copyButtonTitleChanged)
    // The page's import field; emptied by a successful import.
    Q_PROPERTY(QString importText READ importText WRITE setImportText NOTIFY importTextChanged)
    // "" or, for two seconds after an import, "Theme imported!" or
    // "Invalid theme URL".
    Q_PROPERTY(QString importStatus READ importStatus NOTIFY importStatusChanged)
    Q_PROPERTY(bool isImportFailed READ isImportFailed NOTIFY importStatusChanged)
    // What the import field shows while empty: base + "/theme?config=...".
    Q_PROPERTY(QString importPlaceholder READ importPlaceholder CONSTANT)

public:
    static constexpr std::chrono::milliseconds messageDuration{2000};

    explicit ThemeSharing(ThemeManager &manager, QObject *parent = nullptr);

    // The maker's address that links start with: VOSTREL_THEME_LINK_BASE when
    // set (so tests and staging builds can point elsewhere), else the
    // compiled-in default. A trailing slash is dropped.
    [[nodiscard]] static QString linkBase();
    // base + "/theme?config=" + the Base64 text as it is; none when the
    // result is no valid URL.
    [[nodiscard]] static std::optional<QUrl> link(const QString &base64);

    [[nodiscard]] QString copyButtonTitle() const;
    [[nodiscard]] bool isLinkCopied() const { return m_linkCopied; }
    [[nodiscard]] QString importText() const { return m_importText; }
    void setImportText(const QString &text);
    [[nodiscard]] QString importStatus() const { return m_importStatus; }
    [[nodiscard]] bool isImportFailed() const { return m_importFailed; }
    [[nodiscard]] QString importPlaceholder() const;

    // Clears the clipboard and puts the link on it. Does nothing when the
    // settings cannot be exported or the link is no URL.
    Q_INVOKABLE void copyLink();
    // Tries importText as a link, then as bare Base64. True on success.
    Q_INVOKABLE bool importTheme();

    // The ends of the two-second messages; a new message restarts its clock.
    void copyConfirmationExpired();
    void importStatusExpired();
    [[nodiscard]] bool isCopyTimerActive() const { return m_copyTimer.isActive(); }
    [[nodiscard]] bool isStatusTimerActive() const { return m_statusTimer.isActive(); }

Q_SIGNALS:
    void copyButtonTitleChanged();
    void importTextChanged();
    void importStatusChanged();

private:
    void setImportStatus(const QString &status, bool failed);

    ThemeManager &m_manager;
    QTimer m_copyTimer;
    QTimer m_statusTimer;
    bool m_linkCopied = false;
    QString m_importText;
    QString m_importStatus;
    bool m_importFailed = false;
};
