// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ListOwnership.h"

#include "model/BaseList.h"

std::unique_ptr<TBaseObject> TakeItem(TBaseList& list, TBaseObject* item)
{
    if (!item || !list.FreeObjects() || list.GetIndex(item) < 0)
        return nullptr;
    list.RemoveItem(item);
    return std::unique_ptr<TBaseObject>(item);
}

std::unique_ptr<TBaseObject> ReplaceItem(TBaseList& list, TBaseObject* oldItem, std::unique_ptr<TBaseObject> newItem)
{
    if (!newItem || !list.FreeObjects() || list.GetIndex(oldItem) < 0)
        return newItem;
    // Already in its place: the list keeps owning it.
    if (newItem.get() == oldItem) {
        (void)newItem.release();
        return nullptr;
    }
    list.ExchangeItem(oldItem, newItem.release(), false);
    return std::unique_ptr<TBaseObject>(oldItem);
}
