// A window that stands for "some other application": it takes the keyboard
// focus and appends the text of every key it receives to a file, so a test
// can tell whether keys typed during a lock leaked to it.
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRasterWindow>

class KeyLogger : public QRasterWindow
{
public:
    explicit KeyLogger(const QString &path)
        : m_file(path)
    {
        m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
        setTitle(QStringLiteral("e2e-keylogger"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), QColor(255, 0, 255));
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        m_file.write(event->text().toUtf8());
        m_file.flush();
    }

private:
    QFile m_file;
};

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    KeyLogger window(QString::fromLocal8Bit(argv[1]));
    window.setGeometry(200, 200, 800, 500);
    window.show();
    return app.exec();
}
