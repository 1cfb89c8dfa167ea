#include "lib/tests/ToolkitFixture.h"

namespace {

class CompositeTest : public ToolkitTest {
 protected:
  Log log;
  ProbeComposite panel{"panel", &log};
  ProbeWindow a{"a", &log}, b{"b", &log}, c{"c", &log};
};

TEST_F(CompositeTest, ChildrenByIndexHandleAndPosition) {
  ProbeWindow stranger("stranger");
  root->addChild(&panel);
  for (ProbeWindow* child : {&a, &b, &c}) child->createIn(&panel);
  root->addChild(&stranger);
  EXPECT_EQ(&c, panel.childAt(2));
  EXPECT_EQ(nullptr, panel.childAt(5));
  EXPECT_EQ(nullptr, panel.childAt(-1));
  EXPECT_EQ(1, panel.indexOf(&b));
  EXPECT_EQ(-1, panel.indexOf(&stranger));
  EXPECT_EQ(&b, panel.findChild(b.getHwnd()));
  EXPECT_EQ(nullptr, panel.findChild(stranger.getHwnd()));
  // Leaving from the middle, the end and the front keeps the list linked.
  b.destroy();
  EXPECT_EQ(&c, a.nextSibling());
  EXPECT_EQ(&a, c.previousSibling());
  c.destroy();
  a.destroy();
  b.createIn(&panel);
  EXPECT_EQ(&b, panel.childAt(0));
  EXPECT_EQ(nullptr, b.previousSibling());
}

// Records, when told of a removal, the removed child's neighbours and whether it has
// already left the list.
class NeighbourComposite : public ProbeComposite {
 public:
  void onChildRemoved(Window* child) override {
    seen.push_back({child->previousSibling(), child->nextSibling(), indexOf(child)});
  }
  struct Removal {
    Window* previous;
    Window* next;
    int index;
  };
  std::vector<Removal> seen;
};

TEST_F(CompositeTest, RemovalIsReportedWhileTheChildKnowsItsFormerNeighbours) {
  NeighbourComposite holder;
  ProbeWindow d("d");
  root->addChild(&holder);
  for (ProbeWindow* child : {&a, &b, &c, &d}) child->createIn(&holder);
  const struct {
    ProbeWindow* leaving;
    Window* previous;
    Window* next;
  } cases[] = {{&b, &a, &c}, {&d, &c, nullptr}, {&a, nullptr, &c}, {&c, nullptr, nullptr}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.leaving->getName());
    holder.seen.clear();
    k.leaving->destroy();
    ASSERT_EQ(1u, holder.seen.size());
    EXPECT_EQ(k.previous, holder.seen[0].previous);
    EXPECT_EQ(k.next, holder.seen[0].next);
    EXPECT_EQ(-1, holder.seen[0].index) << "already out of the list";
    EXPECT_FALSE(k.leaving->nextSibling() || k.leaving->previousSibling() ||
                 k.leaving->getParent());
  }
}

TEST_F(CompositeTest, DestroyingOrDeletingTakesTheChildrenFirst) {
  root->addChild(&panel);
  a.createIn(&panel);
  b.createIn(&panel);
  HWND handles[] = {panel.getHwnd(), a.getHwnd(), b.getHwnd()};
  log.clear();
  panel.destroy();
  EXPECT_EQ((Log{"a: close 0,0", "a: destroy 0,0", "removed a", "b: close 0,0", "b: destroy 0,0",
                 "removed b"}),
            log);
  for (HWND handle : handles) EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(nullptr, panel.childAt(0));

  // A created composite deleted outright leaves its children detached, not dangling.
  auto* doomed = new ProbeComposite();
  root->addChild(doomed);
  a.createIn(doomed);
  HWND handle = a.getHwnd();
  delete doomed;
  EXPECT_FALSE(a.getParent() || a.isCreated() || root->findWindow(handle));
}

TEST_F(CompositeTest, HandleFallsBackToTheParentsAndKeysGoToTheFirstChild) {
  root->addChild(&panel);
  {
    ProbeComposite inner("inner");
    inner.withoutWindow = true;
    inner.createIn(&panel);
    EXPECT_EQ(panel.getHwnd(), inner.getHwnd());
  }  // deleted while linked without a platform window: it leaves the list
  EXPECT_EQ(nullptr, panel.childAt(0));
  EXPECT_EQ(nullptr, root->getHwnd());
  a.createIn(&panel);
  b.createIn(&panel);
  ShowWindow(panel.getHwnd(), SW_SHOW);  // the focus goes only into a window that can be active
  SetFocus(b.getHwnd());
  log.clear();
  SendMessageA(panel.getHwnd(), WM_CHAR, 'x', 0);  // the focus moves first, the key follows
  EXPECT_EQ(a.getHwnd(), GetFocus());
  EXPECT_EQ(Log{"a: char 120,0"}, log);
}

TEST_F(CompositeTest, ContainerLaysOutWhenAChildIsShownOrHidden) {
  Host box;
  root->addChild(&box);
  a.createIn(&box);
  box.updates = 0;
  a.hide();
  a.hide();
  a.show();
  a.hideKeep();  // the container is not told
  EXPECT_EQ(2, box.updates);
}

}  // namespace
