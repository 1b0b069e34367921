#include "tasks/runningtask.h"
#include "tasks/taskcategory.h"

#include <QTest>

class TestRunningTask : public QObject
{
    Q_OBJECT

private Q_SLOTS:

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
