// EngineClasses.h -- named containers: intrusive lists of named items, optionally sorted and
// pooled, walked by enumerators that stay valid while items are removed.
#pragma once

#include <cassert>
#include <memory>
#include <string>
#include <string_view>

class TContainer;
class TContainerEnumerator;

// Base class of every named engine object. An item is linked into at most one container, which
// owns it from Insert (or Add) on and frees it on removal; a pooled item belongs to its container
// for the container's whole life and goes back to the pool instead of being freed.
class TContainerItem {
 public:
  TContainerItem() = default;
  virtual ~TContainerItem();
  TContainerItem(const TContainerItem&) = delete;
  TContainerItem& operator=(const TContainerItem&) = delete;

  // The key Find looks for (exact, case-sensitive); may be empty. Add overwrites a pooled item's
  // name, reusing its buffer.
  std::string Name;

  // The container the item is linked into, or nullptr.
  TContainer* Container() const { return Parent; }
  // True when a container's pool made the item; removing it returns it to that pool.
  bool Pooled() const { return IsPooled; }
  // The item in front of this one, or nullptr for the first (and for an unlinked item).
  TContainerItem* Prev() const;
  // The item behind this one, or nullptr for the last (and for an unlinked item).
  TContainerItem* Next() const;

  // Unlinks the item, moves every enumerator standing on it back to its predecessor, calls
  // OnRemove, then returns the item to its pool or frees it: do not touch it afterwards. The item
  // must be linked; removing an unlinked item stops debug builds and is ignored otherwise.
  void Remove();

  // Called by Insert and Add before the item is linked; Param is the caller's (a sprite's depth, a
  // source's sample). A pooled item resets all its per-use state here.
  virtual void OnInsert(TContainer& Into, void* Param);
  // Called by Remove after the item is unlinked. A pooled item drops its references here.
  virtual void OnRemove(TContainer& From);
  // Sorted insertion: true when this item must stay in front of Other. Items that compare equal
  // end up with the newest in front.
  virtual bool IsBefore(const TContainerItem& Other) const;

 private:
  friend class TContainer;
  TContainer* Parent = nullptr;
  TContainerItem* PrevLink = nullptr;
  TContainerItem* NextLink = nullptr;  // also the link of the pool's free list
  bool IsPooled = false;
};

// Where Insert and Add link an item.
enum class TInsertMode {
  Front = 0,   // in front of the first item
  Sorted = 1,  // in front of the first item that is not IsBefore it
  Back = 2,    // behind the last item (as is any value other than 0 and 1)
};

// Makes one item for a container's pool.
using TItemFactory = std::unique_ptr<TContainerItem> (*)();

// The pool factory of class T: MakeItem<TSprite> makes a default-constructed TSprite.
template <class T>
std::unique_ptr<TContainerItem> MakeItem() {
  return std::make_unique<T>();
}

// An intrusive, doubly linked list of items with an optional pool of recycled items. Look-ups by
// name are linear with a one-entry cache of the last hit. Main thread only.
class TContainer {
 public:
  // An empty container without a pool.
  TContainer();
  // An empty container with a pool that makes its items with Factory, CacheCount of them at once
  // (a negative count counts as 0). Throws std::runtime_error "Invalid TContainer CacheItemClass
  // parameter" when Factory is null or makes nothing.
  TContainer(TItemFactory Factory, int CacheCount);
  // Removes every item (calling OnRemove), frees the pool's items and stops enumerators still
  // walking it; the last container alive also frees the shared enumerator pool.
  ~TContainer();
  TContainer(const TContainer&) = delete;
  TContainer& operator=(const TContainer&) = delete;

  // Number of linked items.
  int Count() const { return ItemCount; }
  // Number of items the pool has made so far (linked or free); 0 without a pool.
  int CacheCount() const { return PoolSize; }
  // True when the container has a pool (Add works).
  bool HasPool() const { return Factory != nullptr; }
  // The first item, or nullptr when empty.
  TContainerItem* First() const;
  // The last item, or nullptr when empty.
  TContainerItem* Last() const;

  // Calls Item->OnInsert(*this, Param), then links the item as Mode says; from then on the
  // container owns it and frees it on removal. Returns the item; nullptr (and nothing happens)
  // for a null Item.
  TContainerItem* Insert(std::unique_ptr<TContainerItem> Item, void* Param = nullptr,
                         TInsertMode Mode = TInsertMode::Back);
  // Insert keeping the item's own type.
  template <class T>
  T* Insert(std::unique_ptr<T> Item, void* Param = nullptr, TInsertMode Mode = TInsertMode::Back) {
    return static_cast<T*>(Insert(std::unique_ptr<TContainerItem>(std::move(Item)), Param, Mode));
  }
  // Takes an item from the pool (growing it by half its size, at least 4, when it is empty),
  // names it and inserts it. Returns nullptr when the container has no pool.
  TContainerItem* Add(std::string_view Name, void* Param = nullptr,
                      TInsertMode Mode = TInsertMode::Back);
  // Add for a pool whose factory makes T.
  template <class T>
  T* AddAs(std::string_view Name, void* Param = nullptr, TInsertMode Mode = TInsertMode::Back) {
    return Checked<T>(Add(Name, Param, Mode));
  }
  // An item with exactly this name (case-sensitive): the last hit again while it is linked and
  // still has that name, else the first in order. nullptr when none or Name is empty.
  TContainerItem* Find(std::string_view Name);
  // Find for an item known to be a T.
  template <class T>
  T* FindAs(std::string_view Name) {
    return Checked<T>(Find(Name));
  }
  // Removes every item; enumerators walking the container end their walk.
  void Clear();

  // An enumerator from the shared pool, positioned on the first item; give it back with Release.
  TContainerEnumerator* GetEnumerator();

  // Containers alive now.
  static int LiveContainers();
  // Enumerators that exist now (in the shared pool or walking).
  static int EnumeratorsMade();
  // Enumerators waiting in the shared pool.
  static int FreeEnumerators();

 private:
  friend class TContainerItem;
  friend class TContainerEnumerator;

  template <class T>
  static T* Checked(TContainerItem* Item) {
    assert((!Item || dynamic_cast<T*>(Item)) && "container item of another class");
    return static_cast<T*>(Item);
  }
  void MakeFreeItems(int Number);
  void Link(TContainerItem& Item, TInsertMode Mode);
  void RemoveItem(TContainerItem& Item);
  void Unlink(TContainerItem& Item);
  // Puts Enumerator on Item; the front sentinel reads as "no current item yet".
  void Position(TContainerEnumerator& Enumerator, TContainerItem* Item) const;
  // Puts Enumerator on the item behind its current one (or the first item).
  void Advance(TContainerEnumerator& Enumerator) const;

  TContainerItem Head;  // sentinels: Head.NextLink is the first item, Tail.PrevLink the last
  TContainerItem Tail;
  int ItemCount = 0;
  TItemFactory Factory = nullptr;
  int PoolSize = 0;
  TContainerItem* FreeItems = nullptr;
  TContainerItem* LastFound = nullptr;
  TContainerEnumerator* Enumerators = nullptr;  // those walking this container
};

// A position in a container that survives removals: when the item it stands on is removed it
// moves back to the predecessor (Current is nullptr when that is the front), so the next MoveNext
// lands on the item that followed the removed one. Taken from and returned to a shared pool.
class TContainerEnumerator {
 public:
  // False once the walk has passed the last item (or the container was destroyed).
  bool HasCurrent() const {
    assert(!InPool && "enumerator used after Release");
    return Has;
  }
  // The item to work on; nullptr right after the first item was removed.
  TContainerItem* Current() const {
    assert(!InPool && "enumerator used after Release");
    return CurrentItem;
  }
  // Steps to the next item; does nothing once HasCurrent is false.
  void MoveNext();
  // Ends the walk and returns the enumerator to the shared pool: do not use it afterwards.
  void Release();

 private:
  friend class TContainer;
  TContainerEnumerator() = default;
  ~TContainerEnumerator() = default;
  static TContainerEnumerator* Take();
  static void MakeFree(int Number);
  static void FreeAll();

  TContainer* Parent = nullptr;
  TContainerEnumerator* Prev = nullptr;
  TContainerEnumerator* Next = nullptr;  // also the link of the shared pool
  TContainerItem* CurrentItem = nullptr;
  bool Has = false;
  bool InPool = false;
};

// Walks a container with an enumerator that is released when the walker goes out of scope:
//   for (TContainerWalker W(List); W.HasCurrent(); W.MoveNext()) Use(W.Current());
class TContainerWalker {
 public:
  explicit TContainerWalker(TContainer& Container) : Enumerator(Container.GetEnumerator()) {}
  ~TContainerWalker() { Enumerator->Release(); }
  TContainerWalker(const TContainerWalker&) = delete;
  TContainerWalker& operator=(const TContainerWalker&) = delete;

  // See TContainerEnumerator.
  bool HasCurrent() const { return Enumerator->HasCurrent(); }
  // See TContainerEnumerator.
  TContainerItem* Current() const { return Enumerator->Current(); }
  // Current as a T (the container holds only Ts).
  template <class T>
  T* CurrentAs() const {
    return static_cast<T*>(Current());
  }
  // See TContainerEnumerator.
  void MoveNext() { Enumerator->MoveNext(); }

 private:
  TContainerEnumerator* Enumerator;
};
