#include "core/gadgetlistmodel.h"

#include <QMetaProperty>

GadgetListModelBase::GadgetListModelBase(const QMetaObject &gadget, QObject *parent)
    : QAbstractListModel(parent)
    , m_gadget(gadget)
{}

QHash<int, QByteArray> GadgetListModelBase::roleNames() const
{
    QHash<int, QByteArray> names;
    for (int i = m_gadget.propertyOffset(); i < m_gadget.propertyCount(); ++i)
        names.insert(Qt::UserRole + i, m_gadget.property(i).name());
    return names;
}

int GadgetListModelBase::role(const QByteArray &name) const
{
    const int index = m_gadget.indexOfProperty(name.constData());
    return index < 0 ? -1 : Qt::UserRole + index;
}

QVariant GadgetListModelBase::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int property = role - Qt::UserRole;
    if (property < m_gadget.propertyOffset() || property >= m_gadget.propertyCount())
        return {};
    return m_gadget.property(property).readOnGadget(itemAt(index.row()));
}
