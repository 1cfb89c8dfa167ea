// A report-style list painted by the runtime for showing only: a header of columns, rows of
// texts, optional grid lines; a column may be sized to the widest of its texts.
#pragma once

#include <string>
#include <vector>

#include "plugins/vtraySetup/rt/WinControl.h"

namespace frt {

class ListView : public WinControl {
 public:
  struct Column {
    std::string caption;
    int width = 50;
    bool autoSize = false;
  };

  ListView(Component* owner, WinControl* parent);
  const char* className() const override { return "TListView"; }
  bool inheritsFrom(const std::string& n) const override {
    return n == "TListView" || n == "TCustomListView" || WinControl::inheritsFrom(n);
  }

  void addColumn(const std::string& caption, bool autoSize);
  void addRow(const std::vector<std::string>& texts);
  // Widths of the auto-sized columns from their texts in the control's font.
  void sizeColumns();
  const std::vector<Column>& columns() const { return columns_; }
  const std::vector<std::vector<std::string>>& rows() const { return rows_; }
  bool gridLines = false;
  static const int kHeaderHeight = 17;
  static const int kRowHeight = 14;

  void paint(Canvas& canvas) override;

 private:
  void paintHeader(Canvas& canvas, int inset);
  void paintRows(Canvas& canvas, int inset);
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace frt
