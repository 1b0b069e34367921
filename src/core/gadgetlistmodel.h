#pragma once

#include <QAbstractListModel>
#include <QList>

// A list of values of one Q_GADGET type for QML views. Each property the
// gadget declares is a role of the same name, so the roles are fixed in C++
// and a delegate reads them as required properties.
class GadgetListModelBase : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GadgetListModelBase)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    [[nodiscard]] int count() const { return rowCount(); }
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    // The role of the gadget property with that name; -1 for none.
    [[nodiscard]] int role(const QByteArray &name) const;

Q_SIGNALS:
    void countChanged();

protected:
    GadgetListModelBase(const QMetaObject &gadget, QObject *parent);
    // The value at a valid row, as the gadget's storage.
    [[nodiscard]] virtual const void *itemAt(int row) const = 0;

private:
    const QMetaObject &m_gadget;
};

template <typename T>
class GadgetListModel final : public GadgetListModelBase
{
public:
    explicit GadgetListModel(QObject *parent = nullptr)
        : GadgetListModelBase(T::staticMetaObject, parent)
    {}

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_items.size());
    }
    [[nodiscard]] const QList<T> &items() const { return m_items; }

    // Views rebuild their delegates: the lists are short and replaced whole.
    void setItems(QList<T> items)
    {
        const qsizetype before = m_items.size();
        beginResetModel();
        m_items = std::move(items);
        endResetModel();
        if (m_items.size() != before)
            Q_EMIT countChanged();
    }

protected:
    [[nodiscard]] const void *itemAt(int row) const override { return &m_items.at(row); }

private:
    QList<T> m_items;
};
