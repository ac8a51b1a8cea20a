// EngineClasses.cpp -- named containers, their item pools and the shared pool of enumerators.
#include "EngineClasses.h"

#include <algorithm>
#include <stdexcept>

namespace {

// The enumerators not in use, shared by every container, and the containers alive. Plain data,
// so it stays valid while other static objects (a global service's container) are destroyed.
struct TSharedPool {
  TContainerEnumerator* Free = nullptr;
  int FreeCount = 0;
  int Made = 0;
  int LiveContainers = 0;
};
TSharedPool Shared;

// Enumerators made for the first container.
constexpr int kFirstEnumerators = 10;
// The least a pool grows by.
constexpr int kMinimumGrowth = 4;

int Growth(int Made) {
  return std::max(Made / 2, kMinimumGrowth);
}

}  // namespace

// ---- Items ----

TContainerItem::~TContainerItem() {
  assert(!Parent && "container item freed while linked");
}

TContainerItem* TContainerItem::Prev() const {
  // The sentinels are never linked, so they read as "no neighbour".
  return Parent && PrevLink->Parent ? PrevLink : nullptr;
}

TContainerItem* TContainerItem::Next() const {
  return Parent && NextLink->Parent ? NextLink : nullptr;
}

void TContainerItem::Remove() {
  assert(Parent && "removing a container item that is not linked (already removed or returned)");
  if (Parent) Parent->RemoveItem(*this);
}

void TContainerItem::OnInsert(TContainer&, void*) {}

void TContainerItem::OnRemove(TContainer&) {}

bool TContainerItem::IsBefore(const TContainerItem&) const {
  return false;
}

// ---- Containers ----

TContainer::TContainer() {
  Head.NextLink = &Tail;
  Tail.PrevLink = &Head;
  if (++Shared.LiveContainers == 1) TContainerEnumerator::MakeFree(kFirstEnumerators);
}

// Delegating makes the object complete before the pool is made, so a throw below still runs the
// destructor and leaves the live-container count right.
TContainer::TContainer(TItemFactory ItemFactory, int InitialCount) : TContainer() {
  if (!ItemFactory) throw std::runtime_error("Invalid TContainer CacheItemClass parameter");
  Factory = ItemFactory;
  MakeFreeItems(std::max(InitialCount, 0));
}

TContainer::~TContainer() {
  Clear();
  // A walk still in progress (the container was destroyed from inside it) simply ends.
  while (TContainerEnumerator* E = Enumerators) {
    Enumerators = E->Next;
    E->Parent = nullptr;
    E->Prev = E->Next = nullptr;
    E->CurrentItem = nullptr;
    E->Has = false;
  }
  while (TContainerItem* Item = FreeItems) {
    FreeItems = Item->NextLink;
    delete Item;
  }
  if (--Shared.LiveContainers == 0) TContainerEnumerator::FreeAll();
}

TContainerItem* TContainer::First() const {
  return Head.NextLink != &Tail ? Head.NextLink : nullptr;
}

TContainerItem* TContainer::Last() const {
  return Tail.PrevLink != &Head ? Tail.PrevLink : nullptr;
}

void TContainer::MakeFreeItems(int Number) {
  for (int I = 0; I < Number; ++I) {
    std::unique_ptr<TContainerItem> Item = Factory();
    if (!Item) throw std::runtime_error("Invalid TContainer CacheItemClass parameter");
    Item->IsPooled = true;
    Item->NextLink = FreeItems;
    FreeItems = Item.release();
    ++PoolSize;
  }
}

TContainerItem* TContainer::Insert(std::unique_ptr<TContainerItem> Item, void* Param,
                                   TInsertMode Mode) {
  if (!Item) return nullptr;
  assert(!Item->Parent && "inserting an item that is linked already");
  // OnInsert may throw; until it returns, the caller's pointer still owns the item.
  Item->OnInsert(*this, Param);
  TContainerItem& Linked = *Item.release();
  Link(Linked, Mode);
  return &Linked;
}

TContainerItem* TContainer::Add(std::string_view Name, void* Param, TInsertMode Mode) {
  if (!Factory) return nullptr;
  if (!FreeItems) MakeFreeItems(Growth(PoolSize));
  // Off the free list before OnInsert, so an Add from inside OnInsert takes another item.
  TContainerItem& Item = *FreeItems;
  FreeItems = Item.NextLink;
  Item.NextLink = nullptr;
  try {
    Item.Name.assign(Name);  // reuses the buffer the item already has
    Item.OnInsert(*this, Param);
  } catch (...) {
    Item.NextLink = FreeItems;
    FreeItems = &Item;
    throw;
  }
  Link(Item, Mode);
  return &Item;
}

void TContainer::Link(TContainerItem& Item, TInsertMode Mode) {
  ++ItemCount;
  TContainerItem* Behind = &Tail;  // the item the new one goes in front of
  if (Mode == TInsertMode::Front) {
    Behind = Head.NextLink;
  } else if (Mode == TInsertMode::Sorted) {
    Behind = Head.NextLink;
    while (Behind != &Tail && Behind->IsBefore(Item))
      Behind = Behind->NextLink;
  }
  Item.PrevLink = Behind->PrevLink;
  Item.NextLink = Behind;
  Behind->PrevLink->NextLink = &Item;
  Behind->PrevLink = &Item;
  Item.Parent = this;
}

void TContainer::RemoveItem(TContainerItem& Item) {
  for (TContainerEnumerator* E = Enumerators; E; E = E->Next)
    if (E->CurrentItem == &Item) Position(*E, Item.PrevLink);
  if (LastFound == &Item) LastFound = nullptr;
  Unlink(Item);
  Item.OnRemove(*this);
  if (Factory && Item.IsPooled) {
    Item.NextLink = FreeItems;
    FreeItems = &Item;
  } else {
    delete &Item;
  }
}

void TContainer::Unlink(TContainerItem& Item) {
  Item.Parent = nullptr;
  Item.PrevLink->NextLink = Item.NextLink;
  Item.NextLink->PrevLink = Item.PrevLink;
  Item.PrevLink = Item.NextLink = nullptr;
  --ItemCount;
}

TContainerItem* TContainer::Find(std::string_view Name) {
  if (Name.empty()) return nullptr;
  if (LastFound && LastFound->Name == Name) return LastFound;
  LastFound = nullptr;
  for (TContainerItem* Item = Head.NextLink; Item != &Tail; Item = Item->NextLink) {
    if (Item->Name == Name) {
      LastFound = Item;
      break;
    }
  }
  return LastFound;
}

void TContainer::Clear() {
  for (TContainerWalker Walker(*this); Walker.HasCurrent(); Walker.MoveNext())
    if (TContainerItem* Item = Walker.Current()) Item->Remove();
}

TContainerEnumerator* TContainer::GetEnumerator() {
  TContainerEnumerator* E = TContainerEnumerator::Take();
  E->Parent = this;
  E->Prev = nullptr;
  E->Next = Enumerators;
  if (Enumerators) Enumerators->Prev = E;
  Enumerators = E;
  Position(*E, Head.NextLink);
  return E;
}

void TContainer::Position(TContainerEnumerator& Enumerator, TContainerItem* Item) const {
  Enumerator.Has = Item != &Tail;
  Enumerator.CurrentItem = Item == &Tail || Item == &Head ? nullptr : Item;
}

void TContainer::Advance(TContainerEnumerator& Enumerator) const {
  const TContainerItem* From = Enumerator.CurrentItem ? Enumerator.CurrentItem : &Head;
  Position(Enumerator, From->NextLink);
}

int TContainer::LiveContainers() {
  return Shared.LiveContainers;
}

int TContainer::EnumeratorsMade() {
  return Shared.Made;
}

int TContainer::FreeEnumerators() {
  return Shared.FreeCount;
}

// ---- Enumerators ----

void TContainerEnumerator::MoveNext() {
  assert(!InPool && "enumerator used after Release");
  if (!Has) return;
  Parent->Advance(*this);
}

void TContainerEnumerator::Release() {
  assert(!InPool && "enumerator released twice");
  if (InPool) return;
  if (Parent) {
    if (Prev)
      Prev->Next = Next;
    else
      Parent->Enumerators = Next;
    if (Next) Next->Prev = Prev;
  }
  Parent = nullptr;
  Prev = nullptr;
  CurrentItem = nullptr;
  Has = false;
  if (Shared.LiveContainers == 0) {
    // Its container outlived the shared pool's last user: nothing will take it again.
    --Shared.Made;
    delete this;
    return;
  }
  InPool = true;
  Next = Shared.Free;
  Shared.Free = this;
  ++Shared.FreeCount;
}

TContainerEnumerator* TContainerEnumerator::Take() {
  if (!Shared.Free) MakeFree(Growth(Shared.Made));
  TContainerEnumerator* E = Shared.Free;
  Shared.Free = E->Next;
  --Shared.FreeCount;
  E->InPool = false;
  return E;
}

void TContainerEnumerator::MakeFree(int Number) {
  for (int I = 0; I < Number; ++I) {
    auto* E = new TContainerEnumerator;
    E->InPool = true;
    E->Next = Shared.Free;
    Shared.Free = E;
  }
  Shared.FreeCount += Number;
  Shared.Made += Number;
}

void TContainerEnumerator::FreeAll() {
  while (TContainerEnumerator* E = Shared.Free) {
    Shared.Free = E->Next;
    delete E;
  }
  Shared.Made -= Shared.FreeCount;
  Shared.FreeCount = 0;
}
