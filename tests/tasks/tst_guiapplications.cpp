#include "platform/fakes/fakeapplicationwindows.h"
#include "tasks/desktopentryindex.h"
#include "tasks/guiapplications.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Window = ApplicationWindows::Window;
using Type = ApplicationWindows::Type;

namespace {
Window window(ApplicationWindows::Id id, std::optional<qint64> pid, const QString &className,
              QList<Type> types = {Type::Normal})
{
    Window w;
    w.id = id;
    w.pid = pid;
    w.className = className;
    w.instanceName = className.toLower();
    w.types = std::move(types);
    return w;
}

QStringList displayNames(const QList<RunningTask> &tasks)
{
    QStringList names;
    for (const RunningTask &task : tasks)
        names.append(task.displayName);
    return names;
}
} // namespace

class TestGuiApplications : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    // Always empty unless a case writes entries into it.
    QString m_applications;

private Q_SLOTS:
    void init()
    {
        m_applications = m_dir.filePath(QStringLiteral("applications"));
        QDir(m_applications).removeRecursively();
        QVERIFY(QDir().mkpath(m_applications));
    }

    void regular_data()
    {
        QTest::addColumn<QList<Type>>("types");
        QTest::addColumn<bool>("transient");
        QTest::addColumn<bool>("skipsTaskbar");
        QTest::addColumn<bool>("regular");
        QTest::addRow("normal") << QList<Type>{Type::Normal} << false << false << true;
        QTest::addRow("no type") << QList<Type>{} << false << false << true;
        QTest::addRow("no type, transient") << QList<Type>{} << true << false << false;
        QTest::addRow("dialog on its own") << QList<Type>{Type::Dialog} << false << false << true;
        QTest::addRow("dialog of a window") << QList<Type>{Type::Dialog} << true << false << false;
        QTest::addRow("normal but skips taskbar")
            << QList<Type>{Type::Normal} << false << true << false;
        QTest::addRow("dock") << QList<Type>{Type::Dock} << false << false << false;
        QTest::addRow("desktop") << QList<Type>{Type::Desktop} << false << false << false;
        QTest::addRow("utility") << QList<Type>{Type::Utility} << false << false << false;
        QTest::addRow("toolbar") << QList<Type>{Type::Toolbar} << false << false << false;
        QTest::addRow("menu") << QList<Type>{Type::Menu} << false << false << false;
        QTest::addRow("splash") << QList<Type>{Type::Splash} << false << false << false;
        QTest::addRow("notification") << QList<Type>{Type::Transient} << false << false << false;
        QTest::addRow("first type decides")
            << QList<Type>{Type::Utility, Type::Normal} << false << false << false;
    }

    void regular()
    {
        QFETCH(QList<Type>, types);
        QFETCH(bool, transient);
        QFETCH(bool, skipsTaskbar);
        QFETCH(bool, regular);
        Window w = window(1, 10, QStringLiteral("App"), types);
        w.isTransientFor = transient;
        w.skipsTaskbar = skipsTaskbar;
        QCOMPARE(GuiApplications::isRegular(w), regular);
    }

    void namesFollowTheClientList()
    {
        const qint64 ownPid = QCoreApplication::applicationPid();
        FakeApplicationWindows windows;
        Window panel = window(1, 100, QStringLiteral("Xfce4-panel"), {Type::Dock});
        Window skipped = window(2, 101, QStringLiteral("Tray"));
        skipped.skipsTaskbar = true;
        Window nameless = window(9, 109, QString());
        nameless.instanceName.clear();
        Window instanceOnly = window(10, 110, QString());
        instanceOnly.instanceName = QStringLiteral("oldapp");
        windows.setWindows({
            panel,
            window(3, 200, QStringLiteral("Firefox")),
            window(4, ownPid, QStringLiteral("vostrel")),
            skipped,
            window(5, 200, QStringLiteral("Firefox")), // a second window of one process
            window(6, 300, QStringLiteral("Firefox")), // a second instance
            window(7, std::nullopt, QStringLiteral("XTerm")),
            window(8, std::nullopt, QStringLiteral("XTerm")),
            nameless,
            instanceOnly,
        });
        windows.addVanishedWindow(42);
        DesktopEntryIndex index({m_applications});
        QCOMPARE(GuiApplications::names(windows, ownPid, index),
                 (QStringList{QStringLiteral("Firefox"), QStringLiteral("Firefox"),
                              QStringLiteral("XTerm"), QStringLiteral("XTerm"),
                              QStringLiteral("oldapp")}));
    }

    void namesComeFromDesktopEntries()
    {
        QFile entry(m_applications + QStringLiteral("/org.mozilla.firefox.desktop"));
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Firefox Web Browser\n"
                    "StartupWMClass=firefox\n");
        entry.close();
        FakeApplicationWindows windows;
        windows.setWindows(
            {window(1, 5, QStringLiteral("firefox")), window(2, 6, QStringLiteral("Gimp-2.10"))});
        DesktopEntryIndex index({m_applications});
        QCOMPARE(GuiApplications::names(windows, 1, index),
                 (QStringList{QStringLiteral("Firefox Web Browser"), QStringLiteral("Gimp-2.10")}));
    }

    void emptyClientList()
    {
        FakeApplicationWindows windows;
        windows.addVanishedWindow(7);
        DesktopEntryIndex index({m_applications});
        QVERIFY(GuiApplications::names(windows, 1, index).isEmpty());
    }

    void tasksFromNames()
    {
        const QList<RunningTask> tasks = GuiApplications::tasks(
            {QStringLiteral("Cursor"), QStringLiteral("cursor"), QStringLiteral("Finder"),
             QStringLiteral("Vostrel"), QStringLiteral("Claude"), QStringLiteral("Claude"),
             QStringLiteral("ChatGPT"), QStringLiteral("Files")});
        QCOMPARE(displayNames(tasks),
                 (QStringList{
                     QStringLiteral("Cursor — IDE active"), QStringLiteral("cursor — running"),
                     QStringLiteral("Claude — desktop app"), QStringLiteral("Claude — desktop app"),
                     QStringLiteral("ChatGPT — desktop app"), QStringLiteral("Files — running")}));
        QCOMPARE(tasks[0].category, TaskCategory::AIAgent);
        QCOMPARE(tasks[0].name, QStringLiteral("Cursor"));
        QCOMPARE(tasks[1].category, TaskCategory::App);
        for (const RunningTask &task : tasks) {
            QVERIFY(task.isGUIApp);
            QVERIFY(!task.progress);
        }
    }
};

QTEST_GUILESS_MAIN(TestGuiApplications)
#include "tst_guiapplications.moc"
