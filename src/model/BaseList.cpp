// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/BaseList.h"

#include <QVariant>

TBaseList::TBaseList()
{
    GiveBlankLineOnDemand();
}

TBaseList::~TBaseList()
{
    if (FFreeObjects)
        qDeleteAll(m_mainList);
}

void TBaseList::SetMainList(const QList<TBaseObject*>& items)
{
    if (FFreeObjects) {
        for (TBaseObject* item : std::as_const(m_mainList)) {
            if (!items.contains(item))
                delete item;
        }
    }
    m_mainList = items;
    MarkChanged();
}

void TBaseList::AddNewItem(TBaseObject* newItem)
{
    m_mainList.append(newItem);
    MarkChanged();
}

void TBaseList::RemoveItem(TBaseObject* item)
{
    if (m_mainList.removeOne(item))
        MarkChanged();
}

void TBaseList::ExchangeItem(TBaseObject* oldItem, TBaseObject* newItem, bool releaseOldItem)
{
    const qsizetype index = m_mainList.indexOf(oldItem);
    if (index >= 0) {
        m_mainList[index] = newItem;
        MarkChanged();
    }
    if (releaseOldItem && oldItem != newItem)
        delete oldItem;
}

void TBaseList::SwapItems(TBaseObject* item1, TBaseObject* item2)
{
    const qsizetype index1 = m_mainList.indexOf(item1);
    const qsizetype index2 = m_mainList.indexOf(item2);
    if (index1 >= 0 && index2 >= 0) {
        m_mainList.swapItemsAt(index1, index2);
        MarkChanged();
    }
}

void TBaseList::ClearList()
{
    // A list that only refers to its items (a rule's sequences) must not free
    // them: their owner would free them a second time.
    const QList<TBaseObject*> items = std::exchange(m_mainList, {});
    MarkChanged();
    if (FFreeObjects)
        qDeleteAll(items);
}

TBaseObject* TBaseList::GetObject(int index) const
{
    return index >= 0 && index < m_mainList.size() ? m_mainList[index] : nullptr;
}

TBaseObject* TBaseList::GetObjectByID(const QString& id) const
{
    for (TBaseObject* item : m_mainList) {
        if (item && item->property("ID").toString() == id)
            return item;
    }
    return nullptr;
}

int TBaseList::GetIndex(const TBaseObject* item) const
{
    return int(m_mainList.indexOf(const_cast<TBaseObject*>(item)));
}

void TBaseList::AssignTo(TBaseObject* dest) const
{
    TBaseObject::AssignTo(dest);
    // The copy refers to this list's items; only one of the two lists may own
    // them, or they would be freed twice.
    auto* destList = qobject_cast<TBaseList*>(dest);
    if (destList && destList != this && FFreeObjects && !m_mainList.isEmpty())
        destList->SetFreeObjects(false);
}
