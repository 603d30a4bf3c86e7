// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/BaseObject.h"
#include "model/Guid.h"
#include "model/Property.h"

#include <QList>
#include <QString>

/**
 * @brief A named, identified, ordered list of model objects (rules, sequences, actions).
 *
 * With FreeObjects set the list owns its items and frees them when it is
 * destroyed or cleared; a rule's list only refers to sequences owned elsewhere.
 */
class TBaseList : public TBaseObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(QList<TBaseObject*> MainList READ MainList WRITE SetMainList)
    Q_PROPERTY(int Count READ GetCount)
    Q_PROPERTY(bool FreeObjects READ FreeObjects WRITE SetFreeObjects)

public:
    TBaseList();
    ~TBaseList() override;

    KESTRUN_FIELD(QString, Name)
    KESTRUN_FIELD(bool, Active, true)
    KESTRUN_FIELD(bool, FreeObjects, true)

    const QString& ID() const { return m_id.Get(); }
    void SetID(const QString& id)
    {
        m_id.Set(id);
        MarkChanged();
    }

    const QList<TBaseObject*>& MainList() const { return m_mainList; }
    // Replaces the references; items the list owned and no longer holds are freed.
    void SetMainList(const QList<TBaseObject*>& items);

    int GetCount() const { return int(m_mainList.size()); }
    int Count() const { return GetCount(); }

    void AddNewItem(TBaseObject* newItem);
    // Room for that many items, for a loader that knows how many come.
    void Reserve(int count) { m_mainList.reserve(count); }
    // Removes the first occurrence without freeing it.
    void RemoveItem(TBaseObject* item);
    // Puts newItem into oldItem's slot when oldItem is in the list; frees oldItem if asked.
    void ExchangeItem(TBaseObject* oldItem, TBaseObject* newItem, bool releaseOldItem);
    // Swaps the two positions when both items are in the list.
    void SwapItems(TBaseObject* item1, TBaseObject* item2);
    // Empties the list, freeing the items it owns.
    void ClearList();
    // The item at a 0-based index, or null when out of range.
    TBaseObject* GetObject(int index) const;
    // The first item whose ID equals the text exactly (case-sensitive).
    TBaseObject* GetObjectByID(const QString& id) const;
    int GetIndex(const TBaseObject* item) const;

    template <typename T>
    T* Item(int index) const
    {
        return qobject_cast<T*>(GetObject(index));
    }

    void AssignTo(TBaseObject* dest) const override;

private:
    TObjectID m_id;
    QList<TBaseObject*> m_mainList;
};
