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
        QTest::addRow("no type, transient") << QList<Type>{} << true << false << false;
        QTest::addRow("dialog on its own") << QList<Type>{Type::Dialog} << false << false << true;
        QTest::addRow("dialog of a window") << QList<Type>{Type::Dialog} << true << false << false;
        QTest::addRow("dock") << QList<Type>{Type::Dock} << false << false << false;
        QTest::addRow("utility") << QList<Type>{Type::Utility} << false << false << false;
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
