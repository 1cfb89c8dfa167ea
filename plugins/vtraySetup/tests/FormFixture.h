// A runtime form inside a layer window, for the tests of the skin's hooks and paintings.
#pragma once

#include <gtest/gtest.h>

#include "plugins/vtraySetup/rt/CheckBox.h"
#include "plugins/vtraySetup/rt/Form.h"
#include "plugins/vtraySetup/rt/ListView.h"
#include "plugins/vtraySetup/skin/FlatSkin.h"
#include "platform/testing.h"

class FormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowExA(0, "Static", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
    form = new frt::Form();
    form->setBounds(0, 0, 300, 200);
    box = new frt::CheckBox(form, form);
    box->setBounds(10, 10, 120, 17);
    list = new frt::ListView(form, form);
    list->setBounds(10, 40, 200, 100);
    exempt = new frt::CheckBox(form, form);
    exempt->tag = 999;
    exempt->setBounds(10, 150, 120, 17);
    skin = new skin::FlatSkin(form);
    ASSERT_TRUE(form->createHandle(parent));
  }
  // The parent frees the form with its window.
  void TearDown() override { DestroyWindow(parent); }
  COLORREF pixel(frt::Control* control, int x, int y) {
    UpdateWindow(control->handle());
    HDC dc = GetDC(control->handle());
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(control->handle(), dc);
    return color;
  }

  HWND parent = nullptr;
  frt::Form* form = nullptr;
  frt::CheckBox* box = nullptr;
  frt::ListView* list = nullptr;
  frt::CheckBox* exempt = nullptr;
  skin::FlatSkin* skin = nullptr;
};
