#include "themes/liveblurscrim.h"

#include <QTest>

#include <limits>

class TestLiveBlurScrim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opacities_data()
    {
        QTest::addColumn<double>("radius");
        QTest::addColumn<double>("live");
        QTest::addColumn<double>("fallback");
        QTest::addRow("slider minimum") << 10.0 << 0.05 << 0.28;
        QTest::addRow("slider maximum") << 80.0 << 0.25 << 0.66;
        QTest::addRow("far below") << -500.0 << 0.0 << 0.0;
        QTest::addRow("far above") << 500.0 << 1.0 << 1.0;
        // A damaged value reads as the default radius.
        QTest::addRow("not a number")
            << std::numeric_limits<double>::quiet_NaN() << 0.05 + 0.2 / 14 << 0.28 + 0.38 / 14;
    }

    void opacities()
    {
        QFETCH(double, radius);
        QFETCH(double, live);
        QFETCH(double, fallback);
        QVERIFY2(qAbs(LiveBlurScrim::liveOpacity(radius) - live) < 1e-9,
                 qPrintable(QString::number(LiveBlurScrim::liveOpacity(radius))));
        QVERIFY2(qAbs(LiveBlurScrim::fallbackOpacity(radius) - fallback) < 1e-9,
                 qPrintable(QString::number(LiveBlurScrim::fallbackOpacity(radius))));
    }
};

QTEST_GUILESS_MAIN(TestLiveBlurScrim)
#include "tst_liveblurscrim.moc"
