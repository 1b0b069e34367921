#include "overlay/offscreenquickview.h"

#include <QKeyEvent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const char scene[] = R"(
import QtQuick
Rectangle {
    id: root
    property string typed
    property alias markX: mark.x
    color: "#204080"
    Rectangle { id: mark; x: 4; y: 4; width: 6; height: 6; color: "#f0c000" }
    Item {
        anchors.fill: parent
        focus: true
        Keys.onPressed: (event) => root.typed += event.text
    }
}
)";
} // namespace

class TestOffscreenQuickView : public QObject
{
    Q_OBJECT
public:
    static void initMain() { qputenv("QT_QUICK_BACKEND", "software"); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile file(m_dir.filePath(QStringLiteral("Scene.qml")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(scene);
        file.close();
        QFile notItem(m_dir.filePath(QStringLiteral("NotItem.qml")));
        QVERIFY(notItem.open(QIODevice::WriteOnly));
        notItem.write("import QtQml\nQtObject {}\n");
    }

    void rendersOnlyWhatChanged()
    {
        QQmlEngine engine;
        OffscreenQuickView view(&engine);
        QSignalSpy frames(&view, &OffscreenQuickView::frameReady);
        QVERIFY2(view.setSource(url(u"Scene.qml"),
                                {{QStringLiteral("color"), QStringLiteral("#208040")}}),
                 qPrintable(view.errorString()));
        view.resize(QSize(40, 30));
        QVERIFY(frames.wait());
        QCOMPARE(frames.last().at(1).value<QRegion>(), QRegion(0, 0, 40, 30));
        const QImage first = frames.last().at(0).value<QImage>();
        QCOMPARE(first.pixelColor(30, 20), QColor(0x20, 0x80, 0x40));
        QCOMPARE(first.pixelColor(5, 5), QColor(0xf0, 0xc0, 0x00));

        view.rootItem()->setProperty("markX", 20);
        QVERIFY(frames.wait());
        const QRegion damage = frames.last().at(1).value<QRegion>();
        QVERIFY2(damage.boundingRect() == QRect(4, 4, 22, 6), qPrintable(QDebug::toString(damage)));
        QCOMPARE(view.frame().pixelColor(5, 5), QColor(0x20, 0x80, 0x40));
        QCOMPARE(view.frame().pixelColor(22, 6), QColor(0xf0, 0xc0, 0x00));

        // Nothing asked for: nothing drawn.
        const qsizetype count = frames.count();
        view.render();
        QCOMPARE(frames.count(), count);
    }

    void forwardsKeysToTheFocusedItem()
    {
        QQmlEngine engine;
        OffscreenQuickView view(&engine);
        QVERIFY(view.setSource(url(u"Scene.qml")));
        view.resize(QSize(20, 20));
        for (const auto &[key, text] : {std::pair{Qt::Key_4, u"4"}, {Qt::Key_2, u"2"}}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf16(text));
            view.sendKey(press);
        }
        QCOMPARE(view.rootItem()->property("typed").toString(), QStringLiteral("42"));
    }

    void refusesWhatItCannotShow()
    {
        QQmlEngine engine;
        OffscreenQuickView view(&engine);
        QVERIFY(!view.setSource(url(u"Missing.qml")));
        QVERIFY2(view.errorString().contains(QStringLiteral("Missing.qml")),
                 qPrintable(view.errorString()));
        QVERIFY(!view.setSource(url(u"NotItem.qml")));
        QVERIFY2(view.errorString().contains(QStringLiteral("not an Item")),
                 qPrintable(view.errorString()));
        QCOMPARE(view.rootItem(), nullptr);
    }

private:
    QUrl url(QStringView name) const
    {
        return QUrl::fromLocalFile(m_dir.filePath(name.toString()));
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestOffscreenQuickView)
#include "tst_offscreenquickview.moc"
