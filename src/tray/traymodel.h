#pragma once

#include "core/gadgetlistmodel.h"

#include <QList>
#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QVariantList>

#include <functional>

class KeepAwakeManager;
class OverlayManager;
class Preferences;

// One row of the tray panel as it is drawn. The rows of all sections come
// in one list; the first row of a section carries its divider and caption.
struct TrayPanelRow
{
    Q_GADGET
    // A TrayModel::Action.
    Q_PROPERTY(int action MEMBER action CONSTANT)
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString symbol MEMBER symbol CONSTANT)
    Q_PROPERTY(QString hint MEMBER hint CONSTANT)
    Q_PROPERTY(QString toolTip MEMBER toolTip CONSTANT)
    Q_PROPERTY(bool available MEMBER available CONSTANT)
    Q_PROPERTY(bool startsSection MEMBER startsSection CONSTANT)
    // The section's caption on its first row; empty otherwise.
    Q_PROPERTY(QString caption MEMBER caption CONSTANT)

public:
    int action = 0;
    QString title;
    QString symbol;
    QString hint;
    QString toolTip;
    bool available = true;
    bool startsSection = false;
    QString caption;
};

// What the tray panel shows and does. A fresh one is built for every opening,
// so it starts from the managers' current state and then follows their
// notifications until the panel closes. The QML only lays these rows out.
class TrayModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the status item for each opening of its panel")
    Q_DISABLE_COPY_MOVE(TrayModel)
    Q_PROPERTY(bool overlayActive READ isOverlayActive NOTIFY overlayActiveChanged)
    Q_PROPERTY(bool keepAwakeActive READ isKeepAwakeActive NOTIFY keepAwakeActiveChanged)
    // "Tambering — screen locked", "Keeping awake" or "Idle".
    Q_PROPERTY(QString statusLine READ statusLine NOTIFY statusChanged)
    // The same state in the words of the automation status ("Vostrel: Idle.").
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusChanged)
    // Why keep-awake is off although it was last asked for, while the lock is
    // down; empty otherwise. The panel says it instead of "Idle".
    Q_PROPERTY(QString keepAwakeRefusal READ keepAwakeRefusal NOTIFY keepAwakeRefusalChanged)
    // Time left of a timed keep-awake period ("14:59"); empty otherwise.
    Q_PROPERTY(QString remainingTimeText READ remainingTimeText NOTIFY remainingTimeTextChanged)
    // TrayPanelRow values of the captioned sections, top to bottom, and of
    // the uncaptioned ones kept at the foot of the panel.
    Q_PROPERTY(QAbstractListModel *topRows READ topRows CONSTANT)
    Q_PROPERTY(QAbstractListModel *footerRows READ footerRows CONSTANT)
    // Minutes the auto-lock picker shows: 0 (Off), 5, 10, 30, or a stored
    // value that none of the choices matches.
    Q_PROPERTY(
        int autoLockChoice READ autoLockChoice WRITE chooseAutoLock NOTIFY autoLockChoiceChanged)
    // [{label, minutes}]
    Q_PROPERTY(QVariantList autoLockChoices READ autoLockChoicesValue CONSTANT)

public:
    enum class Action {
        KeepAwakeIndefinitely,
        KeepAwakeFor15Minutes,
        KeepAwakeFor30Minutes,
        KeepAwakeFor1Hour,
        StopKeepAwake,
        LockNow,
        AutoLock, // the row that carries the picker; triggering it does nothing
        OpenSettings,
        OpenAbout,
        Quit,
    };
    Q_ENUM(Action)

    enum class SettingsPage { General, About };

    struct Row
    {
        Action action;
        QString title;
        QString symbol;
        QString hint = {};
        QString toolTip = {};
        bool available = true;
    };

    struct Section
    {
        QString title; // empty for rows that stand without a caption
        QList<Row> rows;
    };

    struct Services
    {
        OverlayManager &overlay;
        KeepAwakeManager &keepAwake;
        Preferences &defaults;
    };

    using SettingsOpener = std::function<void(SettingsPage)>;
    using QuitHandler = std::function<void()>;
    // What "Lock Now" runs instead of raising the overlay directly: the
    // application's lock request, which also answers a refused lock.
    using LockHandler = std::function<void()>;

    static constexpr int defaultAutoLockMinutes = 10;
    static constexpr int autoLockOff = 0;

    // Without a settings opener the Settings and About rows are shown but do
    // nothing, and their tool tips say why. Without a quit handler, quitting
    // ends the application's event loop.
    explicit TrayModel(const Services &services, SettingsOpener settingsOpener = {},
                       QuitHandler quitHandler = {}, QObject *parent = nullptr);
    ~TrayModel() override;

    [[nodiscard]] bool isOverlayActive() const { return m_overlayActive; }
    [[nodiscard]] bool isKeepAwakeActive() const { return m_keepAwakeActive; }
    [[nodiscard]] QString statusLine() const;
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] QString remainingTimeText() const;
    [[nodiscard]] QString keepAwakeRefusal() const;
    [[nodiscard]] QList<Section> sections() const;
    using RowModel = GadgetListModel<TrayPanelRow>;
    [[nodiscard]] RowModel *topRows() { return &m_topRows; }
    [[nodiscard]] RowModel *footerRows() { return &m_footerRows; }
    [[nodiscard]] int autoLockChoice() const;
    [[nodiscard]] static QList<QPair<QString, int>> autoLockChoices();
    [[nodiscard]] QVariantList autoLockChoicesValue() const;

    void setLockHandler(LockHandler handler) { m_lockHandler = std::move(handler); }

    Q_INVOKABLE void trigger(TrayModel::Action action);
    // 0 turns the idle lock off and keeps the stored minutes; any other value
    // turns it on after that many minutes.
    Q_INVOKABLE void chooseAutoLock(int minutes);

Q_SIGNALS:
    void overlayActiveChanged();
    void keepAwakeActiveChanged();
    void statusChanged();
    void remainingTimeTextChanged();
    void keepAwakeRefusalChanged();
    void sectionsChanged();
    void autoLockChoiceChanged();
    // An action that leaves the panel ran (locking, opening settings).
    void panelShouldClose();

private:
    void setOverlayActive(bool active);
    void readKeepAwake();
    [[nodiscard]] bool isSettingsAvailable() const { return bool(m_settingsOpener); }
    void openSettings(SettingsPage page);
    void refreshRows();

    Services m_services;
    SettingsOpener m_settingsOpener;
    QuitHandler m_quitHandler;
    LockHandler m_lockHandler;
    bool m_overlayActive = false;
    bool m_keepAwakeActive = false;
    RowModel m_topRows{this};
    RowModel m_footerRows{this};
};
