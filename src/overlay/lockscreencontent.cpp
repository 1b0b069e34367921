#include "overlay/lockscreencontent.h"

#include "platform/desktopanimations.h"
#include "tasks/processmonitor.h"
#include "themes/overlaythemeid.h"
#include "themes/thememanager.h"

#include <QDir>
#include <QImage>
#include <QLocale>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QStandardPaths>

#include <chrono>

using namespace std::chrono_literals;

namespace {
constexpr qsizetype tickerAgentRows = 3;
constexpr qsizetype tickerOtherRows = 4;
} // namespace

LockScreenContent::LockScreenContent(ThemeManager &themes, ProcessMonitor &tasks,
                                     DesktopAnimations &animations, QObject *parent)
    : QObject(parent)
    , m_themes(themes)
    , m_tasks(tasks)
    , m_animations(animations)
{
    m_clock.setInterval(1s);
    connect(&m_clock, &QTimer::timeout, this, &LockScreenContent::tick);
    m_clock.start();

    for (auto signal :
         {&ThemeManager::currentThemeChanged, &ThemeManager::backgroundFillModeChanged,
          &ThemeManager::customWebsiteURLChanged})
        connect(&themes, signal, this, &LockScreenContent::updateIdentity);
    connect(&themes, &ThemeManager::currentThemeChanged, this, [this] {
        Q_EMIT themeChanged();
        Q_EMIT motionChanged();
        refreshTasks();
        Q_EMIT layoutChanged();
    });
    connect(&themes, &ThemeManager::backgroundMotionEnabledChanged, this,
            &LockScreenContent::motionChanged);
    connect(&themes, &ThemeManager::showClockChanged, this, &LockScreenContent::layoutChanged);
    connect(&themes, &ThemeManager::showTaskTickerChanged, this, &LockScreenContent::layoutChanged);
    connect(&animations, &DesktopAnimations::changed, this, &LockScreenContent::motionChanged);
    connect(&tasks, &ProcessMonitor::runningTasksChanged, this, &LockScreenContent::refreshTasks);
    m_identity = identity();
    refreshTasks();
}

LockScreenContent::~LockScreenContent() = default;

void LockScreenContent::setSnapshotSource(std::function<QQuickWindow *()> source)
{
    m_snapshotSource = std::move(source);
}

QString LockScreenContent::themeRawValue() const
{
    return OverlayTheme::rawValue(m_themes.currentTheme());
}

QString LockScreenContent::identityFor(const QString &theme, bool solid,
                                       const std::optional<QString> &websiteURL)
{
    return theme + QLatin1Char('-') + (solid ? QLatin1String("solid") : QLatin1String("gradient")) +
           QLatin1Char('-') + websiteURL.value_or(QString());
}

QString LockScreenContent::identity() const
{
    return identityFor(themeRawValue(),
                       m_themes.backgroundFillMode() == OverlayBackgroundFillMode::solid,
                       m_themes.customWebsiteURL());
}

void LockScreenContent::updateIdentity()
{
    const QString now = identity();
    if (now == m_identity)
        return;
    m_identity = now;
    Q_EMIT identityChanged();
}

QColor LockScreenContent::accentColor() const
{
    return OverlayTheme::accentColor(m_themes.currentTheme());
}

bool LockScreenContent::isLightScheme() const
{
    const OverlayThemeID theme = m_themes.currentTheme();
    return theme == OverlayThemeID::minimalLight || theme == OverlayThemeID::avYellow;
}

QColor LockScreenContent::quietText() const
{
    switch (m_themes.currentTheme()) {
    case OverlayThemeID::avYellow:
        return QColor::fromRgbF(0, 0, 0, 0.5f);
    case OverlayThemeID::minimalLight:
        return QColor::fromRgbF(0, 0, 0, 0.4f);
    default:
        return QColor::fromRgbF(1, 1, 1, 0.5f);
    }
}

QColor LockScreenContent::secondaryText() const
{
    if (m_themes.currentTheme() == OverlayThemeID::minimalLight)
        return QColor::fromRgbF(0, 0, 0, 0.85f);
    return QColor::fromRgbF(1, 1, 1, 0.95f);
}

namespace {
// The locale's short time, without seconds even where the locale's short
// format has them (the C locale's does): the clock shows hours and minutes.
QString shortTime(const QTime &time)
{
    QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?"));
    format.remove(seconds);
    return QLocale::system().toString(time, format);
}
} // namespace

QString LockScreenContent::timeText() const
{
    return shortTime(m_currentTime.time());
}

QString LockScreenContent::dateText() const
{
    return QLocale::system().toString(m_currentTime.date(), QLocale::LongFormat);
}

void LockScreenContent::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    if (active) {
        tick();
        m_clock.start();
    } else {
        m_clock.stop();
        setShowShareConfirmation(false);
    }
    Q_EMIT activeChanged();
    Q_EMIT motionChanged();
}

bool LockScreenContent::areAnimationsEnabled() const
{
    return m_active && m_animations.areEnabled();
}

bool LockScreenContent::isMotionLayerShown() const
{
    return m_animations.areEnabled() && m_themes.backgroundMotionEnabled() &&
           !OverlayTheme::isWeb(m_themes.currentTheme());
}

LockScreenContent::TickerRows LockScreenContent::tickerRows(const QList<RunningTask> &running,
                                                            OverlayThemeID theme)
{
    TickerRows rows;
    bool otherRunning = false;
    for (const RunningTask &task : running) {
        if (task.category != TaskCategory::AIAgent) {
            otherRunning = true;
            if (rows.others.size() < tickerOtherRows)
                rows.others.append(task);
        } else if (theme != OverlayThemeID::liveBlur && rows.agents.size() < tickerAgentRows) {
            rows.agents.append(task);
        }
    }
    rows.separator = !rows.agents.isEmpty() && otherRunning;
    return rows;
}

QColor LockScreenContent::categoryColor(TaskCategory category) const
{
    switch (category) {
    case TaskCategory::Build:
        return QColor(0xff, 0x9f, 0x0a);
    case TaskCategory::DevTool:
        return QColor(0x32, 0xd2, 0xe6);
    case TaskCategory::App:
        return accentColor();
    case TaskCategory::AIAgent:
        return QColor(0x34, 0xc7, 0x59);
    case TaskCategory::System:
        break;
    }
    return QColor(0x8e, 0x8e, 0x93);
}

void LockScreenContent::refreshTasks()
{
    TickerRows rows = tickerRows(m_tasks.runningTasks(), m_themes.currentTheme());
    m_agentPills.setItems(m_tasks.aiAgentTasks());
    m_tickerAgents.setItems(std::move(rows.agents));
    m_tickerOthers.setItems(std::move(rows.others));
    m_tickerSeparator = rows.separator;
    Q_EMIT tasksChanged();
}

bool LockScreenContent::tickerHasRows() const
{
    return m_tickerAgents.count() + m_tickerOthers.count() > 0;
}

bool LockScreenContent::isBottomClockShown() const
{
    const OverlayThemeID theme = m_themes.currentTheme();
    // The minimal themes already show a large clock in their centre column.
    return m_themes.showClock() && theme != OverlayThemeID::minimalDark &&
           theme != OverlayThemeID::minimalLight;
}

bool LockScreenContent::isTickerShown() const
{
    return m_themes.showTaskTicker();
}

void LockScreenContent::setCurrentTime(const QDateTime &time)
{
    const bool minuteChanged =
        timeText() != shortTime(time.time()) || m_currentTime.date() != time.date();
    m_currentTime = time;
    // The clock shows minutes: a tick that changes nothing visible redraws nothing.
    if (minuteChanged)
        Q_EMIT currentTimeChanged();
}

void LockScreenContent::tick()
{
    setCurrentTime(QDateTime::currentDateTime());
}

QString LockScreenContent::snapshotFileName(const QDateTime &time)
{
    QString stamp = time.toUTC().toString(Qt::ISODate);
    stamp.replace(QLatin1Char(':'), QLatin1Char('-'));
    return QLatin1String("Vostrel-") + stamp + QLatin1String(".png");
}

bool LockScreenContent::saveSnapshot()
{
    return saveSnapshot(QDateTime::currentDateTimeUtc());
}

bool LockScreenContent::saveSnapshot(const QDateTime &now)
{
    // A clock set back must not silence the button until it catches up.
    if (m_lastSnapshot.isValid() && now >= m_lastSnapshot &&
        m_lastSnapshot.msecsTo(now) < std::chrono::milliseconds(snapshotInterval).count())
        return false;
    QQuickWindow *window = m_snapshotSource ? m_snapshotSource() : nullptr;
    if (!window)
        return false;
    const QImage image = window->grabWindow();
    if (image.isNull())
        return false;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    const QString path = folder + QLatin1Char('/') + snapshotFileName(now);
    if (!image.save(path, "PNG"))
        return false;
    m_lastSnapshot = now;
    // Shown as long as another click would do nothing.
    setShowShareConfirmation(true);
    QTimer::singleShot(snapshotInterval, this, [this] { setShowShareConfirmation(false); });
    return true;
}

void LockScreenContent::setShowShareConfirmation(bool show)
{
    if (m_showShareConfirmation == show)
        return;
    m_showShareConfirmation = show;
    Q_EMIT showShareConfirmationChanged();
}

namespace {
QVariantMap element(const char *kind, int size = 0, double opacity = 1.0,
                    const char *weight = "normal", bool accent = false)
{
    return {{QStringLiteral("kind"), QString::fromLatin1(kind)},
            {QStringLiteral("size"), size},
            {QStringLiteral("opacity"), opacity},
            {QStringLiteral("weight"), QString::fromLatin1(weight)},
            {QStringLiteral("accent"), accent}};
}

QVariantMap symbol(const QString &name, int size, double opacity, bool accent)
{
    QVariantMap map = element("symbol", size, opacity, "normal", accent);
    map.insert(QStringLiteral("name"), name);
    return map;
}
} // namespace

QVariantList LockScreenContent::centreColumnFor(OverlayThemeID theme)
{
    const QVariantMap hint = element("hint");
    const QVariantMap agents = element("agents");
    switch (theme) {
    case OverlayThemeID::avDark:
        return {element("flask", 48, 0.6, "normal", true), element("headline", 36),
                element("subtext", 16, 0.4), hint, agents};
    case OverlayThemeID::minimalDark:
        return {element("clock", 80, 0.6, "ultralight"), element("rule", 0, 0.1),
                element("headline", 18, 0.3, "light"), hint, agents};
    case OverlayThemeID::minimalLight:
        return {element("clock", 72, 0.7), element("headline", 20, 0.4), hint, agents};
    case OverlayThemeID::avYellow:
        return {symbol(QStringLiteral("exclamationmark.triangle.fill"), 56, 0.7, false),
                element("headline", 32, 0.85), element("subtext", 16, 0.5), hint, agents};
    case OverlayThemeID::glass:
        return {element("glassLock", 36, 0.8),
                element("headline", 28, 0.85),
                element("subtext", 14, 0.4),
                element("clock", 14, 0.3),
                hint,
                agents};
    case OverlayThemeID::liveBlur:
        return {element("clock", 72, 0.85),
                element("date", 18, 0.5),
                symbol(QStringLiteral("lock.fill"), 22, 0.5, false),
                element("headline", 20, 0.8),
                element("subtext", 13, 0.4),
                hint,
                agents};
    case OverlayThemeID::customPhoto:
        return {element("headline", 36), element("subtext", 16), hint, agents};
    case OverlayThemeID::customHTML:
    case OverlayThemeID::customWebsite:
        return {}; // the page is the content (see showsWebPage)
    case OverlayThemeID::deepOcean:
    case OverlayThemeID::aurora:
    case OverlayThemeID::sunset:
    case OverlayThemeID::nebula:
    case OverlayThemeID::charcoal:
        return {element("clock", 72, 0.9, "normal", true),
                element("date", 18),
                symbol(OverlayTheme::iconName(theme), 22, 0.75, true),
                element("headline", 20),
                element("subtext", 13),
                hint,
                agents};
    }
    return {hint};
}

int LockScreenContent::centreSpacingFor(OverlayThemeID theme)
{
    switch (theme) {
    case OverlayThemeID::avDark:
    case OverlayThemeID::customPhoto:
        return 24;
    case OverlayThemeID::minimalDark:
    case OverlayThemeID::minimalLight:
        return 40;
    case OverlayThemeID::avYellow:
        return 20;
    case OverlayThemeID::glass:
        return 32;
    default:
        // Left open for the clock-led layouts: tight enough to read as one block.
        return 12;
    }
}

OverlayThemeID LockScreenContent::layoutTheme() const
{
    const OverlayThemeID theme = m_themes.currentTheme();
    return OverlayTheme::isWeb(theme) && !m_webPagesAllowed ? OverlayThemeID::liveBlur : theme;
}

QVariantList LockScreenContent::centreColumn() const
{
    return centreColumnFor(layoutTheme());
}

int LockScreenContent::centreSpacing() const
{
    return centreSpacingFor(layoutTheme());
}

int LockScreenContent::centrePadding() const
{
    return layoutTheme() == OverlayThemeID::glass ? 48 : 40;
}

bool LockScreenContent::showsWebPage() const
{
    return OverlayTheme::isWeb(layoutTheme());
}
