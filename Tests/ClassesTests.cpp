// ClassesTests.cpp -- tests of the named containers: insertion order, removal during walks, item
// pools, look-ups by name, the shared enumerator pool and allocation-free steady state.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "EngineClasses.h"

namespace {

// An item kept in increasing Depth (given to Insert and Add as a pointer to an int).
class TTestItem : public TContainerItem {
 public:
  int Depth = 0;
  int* Removals = nullptr;  // counts OnRemove calls when set

  void OnInsert(TContainer&, void* Param) override {
    Depth = Param ? *static_cast<int*>(Param) : 0;
    Removals = nullptr;
  }
  void OnRemove(TContainer&) override {
    if (Removals) ++*Removals;
  }
  bool IsBefore(const TContainerItem& Other) const override {
    return Depth < static_cast<const TTestItem&>(Other).Depth;
  }
};

std::unique_ptr<TTestItem> Item(const std::string& Name) {
  auto Made = std::make_unique<TTestItem>();
  Made->Name = Name;
  return Made;
}

// The names in list order, separated by spaces. Also checks that walking backwards through Prev
// meets the same items.
std::string Order(const TContainer& List) {
  std::vector<const TContainerItem*> Forward;
  for (const TContainerItem* I = List.First(); I; I = I->Next())
    Forward.push_back(I);
  std::vector<const TContainerItem*> Backward;
  for (const TContainerItem* I = List.Last(); I; I = I->Prev())
    Backward.insert(Backward.begin(), I);
  EXPECT_EQ(Forward, Backward) << "Prev and Next links disagree";
  EXPECT_EQ(static_cast<int>(Forward.size()), List.Count());
  std::string Names;
  for (const TContainerItem* I : Forward)
    Names += (Names.empty() ? "" : " ") + I->Name;
  return Names;
}

// Inserts non-pooled items named by the letters of Names at the back.
void Fill(TContainer& List, const std::string& Names) {
  for (char Name : Names)
    List.Insert(Item(std::string(1, Name)));
}

// ---- Insertion ----

TEST(ContainerTest, InsertLinksWhereTheModeSays) {
  struct Step {
    const char* Name;
    TInsertMode Mode;
    int Depth;
  };
  struct Case {
    const char* Title;
    std::vector<Step> Steps;
    const char* Expected;
  };
  const Case Cases[] = {
      {"front and back",
       {{"A", TInsertMode::Back, 0},
        {"B", TInsertMode::Front, 0},
        {"C", TInsertMode::Back, 0},
        {"D", TInsertMode::Front, 0}},
       "D B A C"},
      {"sorted by depth, newest first among equals",
       {{"a", TInsertMode::Sorted, 5},
        {"b", TInsertMode::Sorted, 1},
        {"c", TInsertMode::Sorted, 5},
        {"d", TInsertMode::Sorted, 9},
        {"e", TInsertMode::Sorted, 1}},
       "e b c a d"},
      {"any other mode value links at the back",
       {{"A", TInsertMode::Front, 0}, {"B", static_cast<TInsertMode>(7), 0}},
       "A B"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    TContainer List;
    for (Step S : C.Steps) {
      TTestItem* Inserted = List.Insert(Item(S.Name), &S.Depth, S.Mode);
      ASSERT_NE(Inserted, nullptr);
      EXPECT_EQ(Inserted->Container(), &List);
      EXPECT_FALSE(Inserted->Pooled());
    }
    EXPECT_EQ(Order(List), C.Expected);
  }
}

TEST(ContainerTest, InsertOfNothingIsIgnored) {
  TContainer List;
  EXPECT_EQ(List.Insert(nullptr), nullptr);
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(List.First(), nullptr);
  EXPECT_EQ(List.Last(), nullptr);
}

TEST(ContainerTest, RemoveUnlinksAndCallsOnRemoveOnce) {
  TContainer List;
  Fill(List, "ABC");
  int Removals = 0;
  auto* B = static_cast<TTestItem*>(List.Find("B"));
  B->Removals = &Removals;
  B->Remove();
  EXPECT_EQ(Removals, 1);
  EXPECT_EQ(Order(List), "A C");
  EXPECT_EQ(List.First()->Prev(), nullptr);
  EXPECT_EQ(List.Last()->Next(), nullptr);
}

TEST(ContainerTest, DestructorRemovesEveryItem) {
  int Removals = 0;
  {
    TContainer List(MakeItem<TTestItem>, 2);
    for (const char* Name : {"A", "B", "C"})  // the third grows the pool
      List.AddAs<TTestItem>(Name)->Removals = &Removals;
    List.Insert(Item("Own"))->Removals = &Removals;
  }
  EXPECT_EQ(Removals, 4);
}

// ---- Walking ----

// Walks [A B C D]; on reaching At, removes the named items (or clears the list for "*").
struct WalkCase {
  const char* Title;
  const char* At;
  std::vector<const char*> Removed;
  const char* Visited;
  const char* Left;
};

class ContainerWalkRemovalTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(ContainerWalkRemovalTest, ContinuesAfterRemovals) {
  const WalkCase& C = GetParam();
  TContainer List;
  Fill(List, "ABCD");
  std::string Visited;
  TContainerEnumerator* Walk = List.GetEnumerator();
  while (Walk->HasCurrent()) {
    TContainerItem* Current = Walk->Current();
    ASSERT_NE(Current, nullptr);
    Visited += Current->Name;
    if (Current->Name == C.At) {
      for (const char* Name : C.Removed) {
        if (std::string(Name) == "*")
          List.Clear();
        else
          List.Find(Name)->Remove();
      }
    }
    Walk->MoveNext();
  }
  Walk->Release();
  EXPECT_EQ(Visited, C.Visited);
  EXPECT_EQ(Order(List), C.Left);
}

INSTANTIATE_TEST_SUITE_P(
    Removals, ContainerWalkRemovalTest,
    ::testing::Values(WalkCase{"current", "B", {"B"}, "ABCD", "A C D"},
                      WalkCase{"current and first", "A", {"A"}, "ABCD", "B C D"},
                      WalkCase{"current and last", "D", {"D"}, "ABCD", "A B C"},
                      WalkCase{"the next one", "B", {"C"}, "ABD", "A B D"},
                      WalkCase{"an earlier one", "C", {"A"}, "ABCD", "B C D"},
                      WalkCase{"current, then its predecessor", "B", {"B", "A"}, "ABCD", "C D"},
                      WalkCase{"current, then its successor", "B", {"B", "C"}, "ABD", "A D"},
                      WalkCase{"everything", "B", {"*"}, "AB", ""}),
    [](const auto& Info) {
      std::string Name;
      for (char Ch : std::string(Info.param.Title))
        if (std::isalnum(static_cast<unsigned char>(Ch))) Name += Ch;
      return Name;
    });

TEST(ContainerWalkTest, RemovingTheFirstLeavesNoCurrentUntilMoveNext) {
  TContainer List;
  Fill(List, "AB");
  TContainerWalker Walk(List);
  List.First()->Remove();
  EXPECT_TRUE(Walk.HasCurrent());
  EXPECT_EQ(Walk.Current(), nullptr);
  Walk.MoveNext();
  ASSERT_NE(Walk.Current(), nullptr);
  EXPECT_EQ(Walk.Current()->Name, "B");
}

TEST(ContainerWalkTest, TwoEnumeratorsOnTheRemovedItemBothStepBack) {
  TContainer List;
  Fill(List, "ABC");
  TContainerWalker First(List);
  TContainerWalker Second(List);
  First.MoveNext();
  Second.MoveNext();
  List.Find("B")->Remove();
  for (TContainerWalker* Walk : {&First, &Second}) {
    ASSERT_TRUE(Walk->HasCurrent());
    EXPECT_EQ(Walk->Current()->Name, "A");
    Walk->MoveNext();
    EXPECT_EQ(Walk->Current()->Name, "C");
  }
}

TEST(ContainerWalkTest, InnerWalkRemovingTheOuterItemKeepsTheOuterWalkGoing) {
  TContainer List;
  Fill(List, "ABCD");
  std::string Visited;
  for (TContainerWalker Outer(List); Outer.HasCurrent(); Outer.MoveNext()) {
    Visited += Outer.Current()->Name;
    if (Outer.Current()->Name != "B") continue;
    for (TContainerWalker Inner(List); Inner.HasCurrent(); Inner.MoveNext())
      if (Inner.Current()->Name == "B" || Inner.Current()->Name == "C") Inner.Current()->Remove();
  }
  EXPECT_EQ(Visited, "ABD");
  EXPECT_EQ(Order(List), "A D");
}

TEST(ContainerWalkTest, EmptyContainerHasNoCurrent) {
  TContainer List;
  TContainerWalker Walk(List);
  EXPECT_FALSE(Walk.HasCurrent());
  EXPECT_EQ(Walk.Current(), nullptr);
  Walk.MoveNext();
  EXPECT_FALSE(Walk.HasCurrent());
}

TEST(ContainerWalkTest, DestroyingTheContainerEndsTheWalk) {
  auto List = std::make_unique<TContainer>();
  Fill(*List, "ABC");
  std::string Visited;
  for (TContainerWalker Walk(*List); Walk.HasCurrent(); Walk.MoveNext()) {
    Visited += Walk.Current()->Name;
    if (Walk.Current()->Name == "B") List.reset();
  }
  EXPECT_EQ(Visited, "AB");
}

// ---- Pools ----

TEST(ContainerPoolTest, GrowsByHalfItsSizeAndAtLeastFour) {
  struct Case {
    int Initial;
    std::vector<int> SizesAfterEachExhaustion;
  };
  const Case Cases[] = {
      {3072, {4608, 6912}}, {5, {9, 13}}, {0, {4, 8}}, {1, {5, 9}}, {-3, {4, 8}}, {11, {16, 24}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Initial);
    TContainer Pool(MakeItem<TTestItem>, C.Initial);
    int Expected = std::max(C.Initial, 0);
    EXPECT_EQ(Pool.CacheCount(), Expected);
    for (int Size : C.SizesAfterEachExhaustion) {
      while (Pool.Count() < Expected)
        Pool.Add("");
      EXPECT_EQ(Pool.CacheCount(), Expected) << "grew before the free items ran out";
      Pool.Add("");
      EXPECT_EQ(Pool.CacheCount(), Size);
      Expected = Size;
    }
  }
}

TEST(ContainerPoolTest, RemovedItemsAreReusedNotFreed) {
  TContainer Pool(MakeItem<TTestItem>, 1);
  int Depth = 7;
  TTestItem* First = Pool.AddAs<TTestItem>("Spark", &Depth);
  EXPECT_TRUE(First->Pooled());
  EXPECT_EQ(First->Depth, 7);
  First->Remove();
  EXPECT_EQ(First->Container(), nullptr);
  TTestItem* Again = Pool.AddAs<TTestItem>("Glow");
  EXPECT_EQ(Again, First);
  EXPECT_EQ(Again->Name, "Glow");
  EXPECT_EQ(Again->Depth, 0) << "OnInsert did not run again";
  EXPECT_EQ(Pool.CacheCount(), 1);
}

TEST(ContainerPoolTest, AddWithoutAPoolGivesNothing) {
  TContainer List;
  EXPECT_FALSE(List.HasPool());
  EXPECT_EQ(List.Add("A"), nullptr);
  EXPECT_EQ(List.Count(), 0);
}

std::unique_ptr<TContainerItem> MakeNothing() {
  return nullptr;
}

TEST(ContainerPoolTest, MissingOrBrokenFactoryThrows) {
  const int Live = TContainer::LiveContainers();
  for (TItemFactory Factory : {TItemFactory(nullptr), TItemFactory(MakeNothing)}) {
    try {
      TContainer Pool(Factory, 4);
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& Error) {
      EXPECT_STREQ(Error.what(), "Invalid TContainer CacheItemClass parameter");
    }
    EXPECT_EQ(TContainer::LiveContainers(), Live);
  }
}

// ---- Find ----

TEST(ContainerFindTest, MatchesNamesExactly) {
  TContainer List;
  List.Insert(Item("Click"));
  List.Insert(Item("Theme1"));
  List.Insert(Item(""));
  struct Case {
    const char* Query;
    const char* Found;  // nullptr: nothing
  };
  const Case Cases[] = {
      {"Click", "Click"}, {"Theme1", "Theme1"}, {"click", nullptr}, {"CLICK", nullptr},
      {"Clic", nullptr},  {"Click ", nullptr},  {"", nullptr},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Query);
    TContainerItem* Found = List.Find(C.Query);
    if (!C.Found) {
      EXPECT_EQ(Found, nullptr);
    } else {
      ASSERT_NE(Found, nullptr);
      EXPECT_EQ(Found->Name, C.Found);
    }
  }
}

TEST(ContainerFindTest, ReturnsTheRememberedHitWithoutWalking) {
  TContainer List;
  TContainerItem* Older = List.Insert(Item("Click"));
  EXPECT_EQ(List.Find("Click"), Older);
  TContainerItem* Newer = List.Insert(Item("Click"), nullptr, TInsertMode::Front);
  EXPECT_EQ(List.Find("Click"), Older) << "walked instead of using the last hit";
  EXPECT_EQ(List.Find("Theme1"), nullptr);
  EXPECT_EQ(List.Find("Click"), Newer) << "a miss must forget the last hit";
}

TEST(ContainerFindTest, ForgetsTheRememberedHitWhenItIsRemoved) {
  TContainer Pool(MakeItem<TTestItem>, 4);
  TContainerItem* Hit = Pool.Add("Click");
  EXPECT_EQ(Pool.Find("Click"), Hit);
  Hit->Remove();  // back in the pool, still carrying its old name
  EXPECT_EQ(Pool.Find("Click"), nullptr);
}

// ---- The shared enumerator pool ----

TEST(EnumeratorPoolTest, LivesAsLongAsAnyContainer) {
  ASSERT_EQ(TContainer::LiveContainers(), 0) << "another container is alive in this program";
  {
    TContainer A;
    EXPECT_EQ(TContainer::EnumeratorsMade(), 10);
    TContainer B;
    EXPECT_EQ(TContainer::EnumeratorsMade(), 10) << "only the first container makes enumerators";
    EXPECT_EQ(TContainer::LiveContainers(), 2);
    std::vector<TContainerEnumerator*> Taken;
    for (int I = 0; I < 11; ++I)
      Taken.push_back(A.GetEnumerator());
    EXPECT_EQ(TContainer::EnumeratorsMade(), 15);
    EXPECT_EQ(TContainer::FreeEnumerators(), 4);
    for (TContainerEnumerator* E : Taken)
      E->Release();
    EXPECT_EQ(TContainer::FreeEnumerators(), 15);
  }
  EXPECT_EQ(TContainer::LiveContainers(), 0);
  EXPECT_EQ(TContainer::EnumeratorsMade(), 0);
  EXPECT_EQ(TContainer::FreeEnumerators(), 0);
  TContainer Again;
  EXPECT_EQ(TContainer::EnumeratorsMade(), 10);
  EXPECT_EQ(TContainer::FreeEnumerators(), 10);
}

TEST(EnumeratorPoolTest, AWalkOutlivingEveryContainerIsFreedOnRelease) {
  ASSERT_EQ(TContainer::LiveContainers(), 0) << "another container is alive in this program";
  auto List = std::make_unique<TContainer>();
  TContainerEnumerator* Walk = List->GetEnumerator();
  List.reset();
  EXPECT_FALSE(Walk->HasCurrent());
  EXPECT_EQ(TContainer::EnumeratorsMade(), 1);
  Walk->Release();
  EXPECT_EQ(TContainer::EnumeratorsMade(), 0);
}

// ---- Misuse (debug builds) ----

TEST(ContainerDeathTest, UseAfterReturnStopsDebugBuilds) {
#ifdef NDEBUG
  GTEST_SKIP() << "the checks are compiled out of release builds";
#else
  EXPECT_DEATH(
      {
        TContainer Pool(MakeItem<TTestItem>, 2);
        TContainerItem* Returned = Pool.Add("A");
        Returned->Remove();
        Returned->Remove();
      },
      "not linked");
  EXPECT_DEATH(
      {
        TContainer List;
        TContainerEnumerator* Walk = List.GetEnumerator();
        Walk->Release();
        Walk->MoveNext();
      },
      "used after Release");
  EXPECT_DEATH(
      {
        TContainer List;
        TContainerEnumerator* Walk = List.GetEnumerator();
        Walk->Release();
        Walk->Release();
      },
      "released twice");
#endif
}

// ---- Steady state ----

TEST(ContainerSteadyStateTest, WarmPoolsAllocateNothingForAThousandFrames) {
  const std::size_t Probe = AllocationCount();
  void* volatile Probed = ::operator new(1);  // volatile: not optimised away
  ::operator delete(Probed);
  const std::size_t Counted = AllocationCount() - Probe;
  ASSERT_EQ(Counted, 1u) << "the allocation counter is not in use";

  TContainer Textures;
  for (const char* Name : {"Buttons", "Pane2House1", "Cursor"})
    Textures.Insert(Item(Name));
  TContainer Sprites(MakeItem<TTestItem>, 16);
  // One frame: add a few sprites sorted by depth, look up a texture, walk the sprites and remove
  // some of them (with a second walk over the textures inside), and clear when many are shown.
  auto RunFrame = [&](int Frame) {
    for (int I = 0; I < 6; ++I) {
      int Depth = (Frame * 7 + I * 3) % 10;
      Sprites.Add(I % 2 ? "Glow" : "Spark", &Depth, TInsertMode::Sorted);
    }
    TContainerItem* Texture = Textures.Find(Frame % 2 ? "Buttons" : "Cursor");
    for (TContainerWalker Walk(Sprites); Walk.HasCurrent(); Walk.MoveNext()) {
      auto* Sprite = Walk.CurrentAs<TTestItem>();
      if ((Sprite->Depth + Frame) % 3 != 0) continue;
      TContainerEnumerator* Inner = Textures.GetEnumerator();
      while (Inner->HasCurrent() && Inner->Current() != Texture)
        Inner->MoveNext();
      Inner->Release();
      Sprite->Remove();
    }
    if (Sprites.Count() > 40) Sprites.Clear();
  };
  for (int Frame = 0; Frame < 100; ++Frame)
    RunFrame(Frame);
  const int WarmSize = Sprites.CacheCount();

  const std::size_t Before = AllocationCount();
  for (int Frame = 0; Frame < 1000; ++Frame)
    RunFrame(Frame);
  EXPECT_EQ(AllocationCount() - Before, 0u);
  EXPECT_EQ(Sprites.CacheCount(), WarmSize);
}

}  // namespace
