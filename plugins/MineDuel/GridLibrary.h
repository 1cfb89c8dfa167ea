// The grid library the game loads by name: its six entry points bound once, kept loaded for
// the process. A missing library or entry point leaves it unusable and every call a no-op.
#pragma once

#include "plugins/MineDuel/GridApi.h"

class GridLibrary : public GridApi {
 public:
  // The path the game loads it from.
  static const char kDefaultPath[];

  explicit GridLibrary(const char* path = kDefaultPath);
  GridLibrary(const GridLibrary&) = delete;
  GridLibrary& operator=(const GridLibrary&) = delete;

  bool usable() const override { return bound; }
  void init(HWND window, int width, int height) override;
  void enable(bool on) override;
  void fill(int x, int y, int value, COLORREF colour) override;
  void beginUpdate() override;
  void endUpdate() override;

 private:
  using InitCall = void (*)(HWND, int, int);
  using EnableCall = void (*)(unsigned char);
  using FillCall = void (*)(int, int, int, COLORREF);
  using PlainCall = void (*)();

  bool bound = false;
  InitCall initCall = nullptr;
  PlainCall resetCall = nullptr;
  EnableCall enableCall = nullptr;
  FillCall fillCall = nullptr;
  PlainCall beginCall = nullptr;
  PlainCall endCall = nullptr;
};
