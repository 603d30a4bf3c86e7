// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

class TBaseList;
class TBaseObject;

// Moving items in and out of lists that own them (FreeObjects), so that callers
// hold what is not in a list in a std::unique_ptr instead of juggling raw pointers.
// A list that only refers to its items (a rule's sequences) hands nothing over.

// Takes the item out of the list and hands it over; null, and the list
// unchanged, when the list does not hold it or does not own it.
std::unique_ptr<TBaseObject> TakeItem(TBaseList& list, TBaseObject* item);

// Puts newItem into oldItem's place and hands back what is no longer in the
// list: oldItem, or newItem itself when oldItem is not in the list (or the list
// does not own its items).
std::unique_ptr<TBaseObject> ReplaceItem(TBaseList& list, TBaseObject* oldItem, std::unique_ptr<TBaseObject> newItem);
