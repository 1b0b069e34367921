#include "tasks/runningtask.h"
#include "tasks/taskcategory.h"

#include <QTest>

class TestRunningTask : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void categoryRawValues_data()
    {
        QTest::addColumn<TaskCategory>("category");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("rank");
        QTest::addRow("agent") << TaskCategory::AIAgent << QStringLiteral("AI Agent") << 0;
        QTest::addRow("build") << TaskCategory::Build << QStringLiteral("Build") << 1;
        QTest::addRow("dev tool") << TaskCategory::DevTool << QStringLiteral("Dev Tool") << 2;
        QTest::addRow("app") << TaskCategory::App << QStringLiteral("App") << 3;
        QTest::addRow("system") << TaskCategory::System << QStringLiteral("System") << 99;
    }

    void categoryRawValues()
    {
        QFETCH(TaskCategory, category);
        QFETCH(QString, raw);
        QFETCH(int, rank);
        QCOMPARE(rawValue(category), raw);
        QCOMPARE(taskCategoryFromRawValue(raw), std::optional<TaskCategory>(category));
        QCOMPARE(sortRank(category), rank);
    }

    void unknownRawValues_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addRow("letter case") << QStringLiteral("ai agent");
        QTest::addRow("blank around") << QStringLiteral(" Build");
        QTest::addRow("empty") << QString();
        QTest::addRow("case name") << QStringLiteral("devTool");
    }

    void unknownRawValues()
    {
        QFETCH(QString, raw);
        QVERIFY(!taskCategoryFromRawValue(raw));
    }

    void agentIcon_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("symbol");
        QTest::addRow("claude") << QStringLiteral("claude") << QStringLiteral("brain.head.profile");
        QTest::addRow("Claude app")
            << QStringLiteral("Claude") << QStringLiteral("brain.head.profile");
        QTest::addRow("cursor helper")
            << QStringLiteral("cursor helper") << QStringLiteral("cursorarrow.motionlines");
        QTest::addRow("both: claude wins")
            << QStringLiteral("Cursor with CLAUDE") << QStringLiteral("brain.head.profile");
        QTest::addRow("copilot") << QStringLiteral("GitHub Copilot") << QStringLiteral("airplane");
        QTest::addRow("chatgpt") << QStringLiteral("ChatGPT") << QStringLiteral("bubble.left.fill");
        QTest::addRow("other") << QStringLiteral("aider") << QStringLiteral("cpu");
        QTest::addRow("empty") << QString() << QStringLiteral("cpu");
    }

    void agentIcon()
    {
        QFETCH(QString, name);
        QFETCH(QString, symbol);
        QCOMPARE(RunningTask::agentIcon(name), symbol);
    }

    void gadgetProperties()
    {
        RunningTask task;
        task.name = QStringLiteral("cargo");
        task.displayName = QStringLiteral("cargo — building");
        task.category = TaskCategory::Build;
        const QMetaObject &meta = RunningTask::staticMetaObject;
        auto read = [&](const char *property) {
            return meta.property(meta.indexOfProperty(property)).readOnGadget(&task);
        };
        QCOMPARE(read("category").toString(), QStringLiteral("Build"));
        QCOMPARE(read("agentIcon").toString(), QStringLiteral("cpu"));
        QVERIFY(!read("progress").isValid());
        task.progress = 0.5;
        QCOMPARE(read("progress").toDouble(), 0.5);
        QCOMPARE(QUuid::fromString(read("id").toString()), task.id);
    }

    void sameWorkIgnoresIdentity()
    {
        RunningTask a;
        a.name = QStringLiteral("node");
        RunningTask b = a;
        b.id = QUuid::createUuid();
        QVERIFY(a.isSameWork(b));
        b.progress = 0.0;
        QVERIFY(!a.isSameWork(b));
    }
};

QTEST_GUILESS_MAIN(TestRunningTask)
#include "tst_runningtask.moc"
