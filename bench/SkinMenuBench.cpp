// Measuring and drawing a 30-item pop-up menu in the flat skin (every fifth item a separator,
// every third with a 16x16 glyph, one checked, one selected, one disabled) onto an off-screen
// picture of the menu's size; then the same menu from a runtime form through the layer's menu
// window (measured and painted by the form's window messages): what a person waits for
// between the click and the menu.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "plugins/vtraySetup/rt/Form.h"
#include "plugins/vtraySetup/rt/ImageList.h"
#include "plugins/vtraySetup/rt/MenuItem.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"
#include "plugins/vtraySetup/skin/MenuPainter.h"
#include "platform/testing_menus.h"

namespace {

struct Menu {
  frt::Component owner{nullptr};
  frt::ImageList* images = nullptr;
  std::vector<frt::MenuItem*> items;
};

Menu& menu() {
  static Menu* made = nullptr;
  if (made) return *made;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  made = new Menu();
  made->images = new frt::ImageList(&made->owner, 16, 16);
  frt::Bitmap& picture = made->images->add();
  picture.fill(RGB(255, 255, 255));
  picture.canvas().fillRect(RECT{3, 3, 13, 13}, RGB(200, 40, 40));
  for (int i = 0; i < 30; ++i) {
    frt::MenuItem* item = new frt::MenuItem(&made->owner);
    item->caption = i % 5 == 4 ? "-" : "Menu item &" + std::to_string(i);
    if (i % 3 == 0) item->imageIndex = 0;
    item->images = made->images;
    item->shortCut = i % 4 == 1 ? "Ctrl+S" : "";
    item->checked = i == 7;
    item->enabled = i != 8;
    made->items.push_back(item);
  }
  return *made;
}

void BM_MeasureAndDrawPopup(benchmark::State& state) {
  Menu& m = menu();
  skin::SkinContext context;
  context.palette = skin::computePalette(skin::SkinColorSettings(), true);
  for (auto _ : state) {
    frt::Bitmap sizing(1, 1);
    std::vector<SIZE> sizes;
    int width = 0, height = 0;
    for (frt::MenuItem* item : m.items) {
      sizes.push_back(skin::MenuPainter::measure(sizing.canvas(), *item, false, context));
      width = std::max(width, static_cast<int>(sizes.back().cx));
      height += sizes.back().cy;
    }
    frt::Bitmap window(width + 2, height + 2);
    int y = 1;
    for (size_t i = 0; i < m.items.size(); ++i) {
      skin::MenuItemState itemState;
      itemState.selected = i == 3;
      RECT r{1, y, 1 + width, y + static_cast<int>(sizes[i].cy)};
      skin::MenuPainter::draw(window.canvas(), r, *m.items[i], itemState, context);
      y = r.bottom;
    }
    benchmark::DoNotOptimize(window.pixel(5, 5));
  }
}
BENCHMARK(BM_MeasureAndDrawPopup)->Unit(benchmark::kMillisecond);

void BM_PopupThroughTheMenuWindow(benchmark::State& state) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  HWND parent = CreateWindowExA(0, "Static", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
  auto* form = new frt::Form();
  form->setBounds(0, 0, 300, 200);
  auto* popup = new frt::PopupMenu(form);
  auto* images = new frt::ImageList(form, 16, 16);
  images->add().fill(RGB(200, 40, 40));
  popup->images = images;
  for (int i = 0; i < 30; ++i) {
    frt::MenuItem* item = popup->add(i % 5 == 4 ? "-" : "Menu item &" + std::to_string(i));
    if (i % 3 == 0) item->imageIndex = 0;
    item->shortCut = i % 4 == 1 ? "Ctrl+S" : "";
    item->checked = i == 7;
    item->enabled = i != 8;
  }
  auto* flat = new skin::FlatSkin(form);
  if (!form->createHandle(parent)) state.SkipWithError("no form");
  flat->setActive(true);
  for (auto _ : state) {
    HBITMAP shown = vorntest::renderPopupMenu(popup->handle(), form->handle());
    benchmark::DoNotOptimize(shown);
    DeleteObject(shown);
  }
  DestroyWindow(parent);  // the form goes with it
}
BENCHMARK(BM_PopupThroughTheMenuWindow)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
