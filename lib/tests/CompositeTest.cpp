#include "lib/Container.h"
#include "lib/tests/ToolkitFixture.h"

namespace {

using Log = std::vector<std::string>;

class CompositeTest : public ToolkitTest {};

TEST_F(CompositeTest, ChildrenByIndexHandleAndPosition)
{
    ProbeComposite panel;
    root->addChild(&panel);
    ProbeWindow a("a"), b("b"), c("c"), stranger("stranger");
    for (ProbeWindow* child : {&a, &b, &c})
        child->createIn(&panel);
    root->addChild(&stranger);

    const struct {
        int index;
        Window* child;
    } positions[] = {{0, &a}, {1, &b}, {2, &c}, {3, nullptr}, {5, nullptr}, {-1, nullptr}};
    for (const auto& p : positions) {
        EXPECT_EQ(p.child, panel.childAt(p.index)) << p.index;
        if (p.child) {
            EXPECT_EQ(p.index, panel.indexOf(p.child));
        }
    }
    EXPECT_EQ(-1, panel.indexOf(&stranger));
    EXPECT_EQ(&b, panel.findChild(b.getHwnd()));
    EXPECT_EQ(nullptr, panel.findChild(stranger.getHwnd()));

    // Leaving from the middle, the end and the front keeps the list linked.
    b.destroy();
    EXPECT_EQ(&c, a.nextSibling());
    EXPECT_EQ(&a, c.previousSibling());
    c.destroy();
    EXPECT_EQ(nullptr, a.nextSibling());
    a.destroy();
    ProbeWindow d("d");
    d.createIn(&panel);
    EXPECT_EQ(&d, panel.childAt(0));
    EXPECT_EQ(nullptr, d.previousSibling());
    EXPECT_EQ((Log{"removed b", "removed c", "removed a"}), panel.ownLog);
}

TEST_F(CompositeTest, DestroyingDestroysTheChildrenFirst)
{
    Log log;
    ProbeComposite panel("panel", &log);
    root->addChild(&panel);
    ProbeWindow a("a", &log), b("b", &log);
    a.createIn(&panel);
    b.createIn(&panel);
    HWND handles[] = {panel.getHwnd(), a.getHwnd(), b.getHwnd()};
    log.clear();

    panel.destroy();
    EXPECT_EQ((Log{"a: close", "a: destroy", "removed a", "b: close", "b: destroy", "removed b"}), log);
    for (HWND handle : handles)
        EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(nullptr, panel.childAt(0));
    EXPECT_EQ(nullptr, root->childAt(0));
}

TEST_F(CompositeTest, DeletedCompositeLeavesItsChildrenDetached)
{
    ProbeWindow a("a");
    auto* panel = new ProbeComposite();
    root->addChild(panel);
    a.createIn(panel);
    HWND handle = a.getHwnd();
    delete panel;
    EXPECT_EQ(nullptr, a.getParent());
    EXPECT_FALSE(a.isCreated());
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(nullptr, root->findWindow(handle));
}

TEST_F(CompositeTest, HandleFallsBackToTheParentsAndKeysGoToTheFirstChild)
{
    ProbeComposite outer("outer"), inner("inner"), lone("lone");
    inner.withoutWindow = lone.withoutWindow = true;
    root->addChild(&outer);
    inner.createIn(&outer);
    lone.createIn(nullptr);
    EXPECT_EQ(outer.getHwnd(), inner.getHwnd());
    EXPECT_EQ(nullptr, lone.getHwnd());

    Log log;
    ProbeComposite panel("panel");
    root->addChild(&panel);
    ProbeWindow first("first", &log), second("second", &log);
    first.createIn(&panel);
    second.createIn(&panel);
    SetFocus(second.getHwnd());
    // The panel hands the focus to its first child, which then gets the key.
    SendMessageA(panel.getHwnd(), WM_CHAR, 'x', 0);
    EXPECT_EQ(first.getHwnd(), GetFocus());
    EXPECT_EQ(Log{"first: char 120"}, log);
}

class ProbeContainer : public Container {
public:
    ProbeContainer() : Container("box") {}
    const char* typeName() const override { return "probe container"; }
    void onChildRemoved(Window*) override {}
    void update() override { ++updates; }
    int gap() const { return spacing; }
    int updates = 0;
};

TEST_F(CompositeTest, ContainerLaysOutWhenAChildIsShownOrHidden)
{
    ProbeContainer box;
    root->addChild(&box);
    ProbeWindow a("a");
    a.createIn(&box);
    EXPECT_EQ(2, box.gap());
    const int before = box.updates;
    a.hide();
    a.hide();
    EXPECT_EQ(before + 1, box.updates);
    a.show();
    EXPECT_EQ(before + 2, box.updates);
    a.hideKeep();  // the container is not told
    EXPECT_EQ(before + 2, box.updates);
}

}  // namespace
