#pragma once

#include "themes/textureitem.h"

#include <QColor>
#include <QString>

// A symbol by its application name ("lock.fill"), drawn from the desktop's
// icon theme in one colour, or drawn by hand where the theme lacks it.
class Symbol : public TextureItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(Symbol)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    // Edge of the square the symbol fills, in points.
    Q_PROPERTY(qreal size READ symbolSize WRITE setSymbolSize NOTIFY sizeChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    // The freedesktop icon shown, or "" while the drawn fallback is used.
    Q_PROPERTY(QString iconName READ iconName NOTIFY iconNameChanged)

public:
    explicit Symbol(QQuickItem *parent = nullptr);

    [[nodiscard]] QString name() const { return m_name; }
    void setName(const QString &name);
    [[nodiscard]] qreal symbolSize() const { return m_size; }
    void setSymbolSize(qreal size);
    [[nodiscard]] QColor color() const { return m_color; }
    void setColor(const QColor &color);
    [[nodiscard]] QString iconName() const { return m_iconName; }

    // The picture of `name` at `pixels` square in `color`; public for tests.
    [[nodiscard]] static QImage draw(const QString &name, int pixels, const QColor &color,
                                     QString *usedIcon = nullptr);

Q_SIGNALS:
    void nameChanged();
    void sizeChanged();
    void colorChanged();
    void iconNameChanged();

protected:
    [[nodiscard]] QImage render(QSizeF size, qreal pixelsPerPoint) const override;
    void updatePolish() override;

private:
    QString m_name;
    qreal m_size = 16;
    QColor m_color = Qt::white;
    QString m_iconName;
    mutable QString m_renderedIcon;
};
