#pragma once

#include "core/gadgetlistmodel.h"
#include "tasks/runningtask.h"

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <qqmlregistration.h>
#include <QTimer>
#include <QVariantList>

#include <chrono>
#include <functional>

class DesktopAnimations;
class ProcessMonitor;
class QQuickWindow;
class ThemeManager;
enum class OverlayThemeID;

// What one lock screen shows besides the PIN entry: the clock, the running
// tasks as agent pills and a ticker, the theme's colours, whether anything
// may move, and the snapshot. The QML lays these out; the rules live here.
class LockScreenContent : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Each lock screen is given its content by the overlay")
    Q_DISABLE_COPY_MOVE(LockScreenContent)

    Q_PROPERTY(QString theme READ themeRawValue NOTIFY themeChanged)
    // Changes when the content must be built anew: theme, fill, website.
    Q_PROPERTY(QString identity READ identity NOTIFY identityChanged)
    Q_PROPERTY(QColor accentColor READ accentColor NOTIFY themeChanged)
    Q_PROPERTY(QColor secondaryText READ secondaryText NOTIFY themeChanged)
    Q_PROPERTY(bool lightScheme READ isLightScheme NOTIFY themeChanged)
    // The hint and the bottom clock: black at 50 % on the yellow theme, black
    // at 40 % on the light one, white at 50 % otherwise.
    Q_PROPERTY(QColor quietText READ quietText NOTIFY themeChanged)
    Q_PROPERTY(QString timeText READ timeText NOTIFY currentTimeChanged)
    Q_PROPERTY(QString dateText READ dateText NOTIFY currentTimeChanged)
    // False while the lock screen is put away between locks: its clock, its
    // animations and any web page stop, and nothing of it costs a cycle.
    Q_PROPERTY(bool active READ isActive NOTIFY activeChanged)
    Q_PROPERTY(bool animationsEnabled READ areAnimationsEnabled NOTIFY motionChanged)
    Q_PROPERTY(bool motionLayerShown READ isMotionLayerShown NOTIFY motionChanged)
    // Models of runningTask values (a role per property).
    Q_PROPERTY(QAbstractListModel *agentPills READ agentPills CONSTANT)
    Q_PROPERTY(QAbstractListModel *tickerAgents READ tickerAgents CONSTANT)
    Q_PROPERTY(bool tickerSeparator READ hasTickerSeparator NOTIFY tasksChanged)
    Q_PROPERTY(QAbstractListModel *tickerOthers READ tickerOthers CONSTANT)
    // The ticker has a row to show.
    Q_PROPERTY(bool tickerHasRows READ tickerHasRows NOTIFY tasksChanged)
    Q_PROPERTY(bool bottomClockShown READ isBottomClockShown NOTIFY layoutChanged)
    Q_PROPERTY(bool tickerShown READ isTickerShown NOTIFY layoutChanged)
    Q_PROPERTY(
        bool showShareConfirmation READ showShareConfirmation NOTIFY showShareConfirmationChanged)
    // The theme's centre column, top to bottom: one map per element with its
    // "kind" (clock, date, rule, symbol, flask, glassLock, headline, subtext,
    // hint, agents, web) and its size, weight, opacity and colour choice.
    Q_PROPERTY(QVariantList centreColumn READ centreColumn NOTIFY themeChanged)
    Q_PROPERTY(int centreSpacing READ centreSpacing NOTIFY themeChanged)
    // The custom HTML and website themes: a web page fills the screen and the
    // hint sits at its bottom instead of a centre column.
    Q_PROPERTY(bool showsWebPage READ showsWebPage NOTIFY themeChanged)
    Q_PROPERTY(int centrePadding READ centrePadding NOTIFY themeChanged)

public:
    struct TickerRows
    {
        QList<RunningTask> agents;
        bool separator = false;
        QList<RunningTask> others;
    };

    LockScreenContent(ThemeManager &themes, ProcessMonitor &tasks, DesktopAnimations &animations,
                      QObject *parent = nullptr);
    ~LockScreenContent() override;

    // The window a snapshot is taken of.
    void setSnapshotSource(std::function<QQuickWindow *()> source);

    [[nodiscard]] bool isActive() const { return m_active; }
    // Coming back shows the current time at once, before the first frame.
    void setActive(bool active);
    // False: a web theme shows the default theme's column instead of its
    // page, for a lock screen started again after one died, which must come
    // up whatever the page does.
    void setWebPagesAllowed(bool allowed) { m_webPagesAllowed = allowed; }

    [[nodiscard]] QString themeRawValue() const;
    [[nodiscard]] QString identity() const;
    [[nodiscard]] QColor accentColor() const;
    [[nodiscard]] QColor secondaryText() const;
    [[nodiscard]] bool isLightScheme() const;
    [[nodiscard]] QColor quietText() const;
    [[nodiscard]] QString timeText() const;
    [[nodiscard]] QString dateText() const;
    [[nodiscard]] bool areAnimationsEnabled() const;
    [[nodiscard]] bool isMotionLayerShown() const;
    using TaskModel = GadgetListModel<RunningTask>;
    [[nodiscard]] TaskModel *agentPills() { return &m_agentPills; }
    [[nodiscard]] TaskModel *tickerAgents() { return &m_tickerAgents; }
    [[nodiscard]] bool hasTickerSeparator() const { return m_tickerSeparator; }
    [[nodiscard]] TaskModel *tickerOthers() { return &m_tickerOthers; }
    [[nodiscard]] bool tickerHasRows() const;
    [[nodiscard]] bool isBottomClockShown() const;
    [[nodiscard]] bool isTickerShown() const;
    [[nodiscard]] bool showShareConfirmation() const { return m_showShareConfirmation; }
    [[nodiscard]] QVariantList centreColumn() const;
    [[nodiscard]] int centreSpacing() const;
    [[nodiscard]] int centrePadding() const;
    [[nodiscard]] bool showsWebPage() const;

    // The dot and progress bar of a ticker row: apps take the theme's accent.
    Q_INVOKABLE [[nodiscard]] QColor categoryColor(TaskCategories::TaskCategory category) const;

    [[nodiscard]] static QVariantList centreColumnFor(OverlayThemeID theme);
    [[nodiscard]] static int centreSpacingFor(OverlayThemeID theme);

    void setCurrentTime(const QDateTime &time);
    // The once-a-second clock.
    void tick();

    // One picture per interval is plenty; each is a file of its own on the
    // Desktop, and a held or hammered button must not fill the disk.
    static constexpr std::chrono::seconds snapshotInterval{3};

    // Writes a PNG of the lock screen to the Desktop folder and shows the
    // confirmation for snapshotInterval; false on any failure, which shows
    // nothing, and for a click within the interval, which does nothing.
    Q_INVOKABLE bool saveSnapshot();
    bool saveSnapshot(const QDateTime &now);

    [[nodiscard]] static QString identityFor(const QString &theme, bool solid,
                                             const std::optional<QString> &websiteURL);
    [[nodiscard]] static TickerRows tickerRows(const QList<RunningTask> &running,
                                               OverlayThemeID theme);
    // "Vostrel-2026-12-06T20-31-05Z.png" for that moment in UTC.
    [[nodiscard]] static QString snapshotFileName(const QDateTime &time);

Q_SIGNALS:
    void themeChanged();
    void identityChanged();
    void currentTimeChanged();
    void motionChanged();
    void tasksChanged();
    void layoutChanged();
    void showShareConfirmationChanged();
    void activeChanged();

private:
    // The theme whose layout shows: the chosen one, unless it is a web theme
    // whose page may not show.
    [[nodiscard]] OverlayThemeID layoutTheme() const;
    void setShowShareConfirmation(bool show);
    void updateIdentity();
    void refreshTasks();

    ThemeManager &m_themes;
    ProcessMonitor &m_tasks;
    DesktopAnimations &m_animations;
    std::function<QQuickWindow *()> m_snapshotSource;
    QDateTime m_currentTime = QDateTime::currentDateTime();
    QTimer m_clock;
    QString m_identity;
    bool m_showShareConfirmation = false;
    QDateTime m_lastSnapshot;
    bool m_active = true;
    bool m_webPagesAllowed = true;
    TaskModel m_agentPills{this};
    TaskModel m_tickerAgents{this};
    TaskModel m_tickerOthers{this};
    bool m_tickerSeparator = false;
};
