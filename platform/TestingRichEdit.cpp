// Test hooks for rich edits: the text as runs of one look, clicking a character, scrolling.
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "platform/ControlRichEdit.h"
#include "platform/testing.h"

using vornplatform::RichEditPositions;
using vornplatform::RichEditWidget;

namespace {

vorntest::RichTextRun runOf(RichEditWidget* edit, const QTextCharFormat& format) {
  CHARFORMAT2A look{};
  look.cbSize = sizeof(look);
  vornplatform::describeFormat(edit, format, &look);
  vorntest::RichTextRun run;
  run.colour = look.crTextColor;
  run.hasBackground = (look.dwEffects & CFE_AUTOBACKCOLOR) == 0;
  run.background = run.hasBackground ? look.crBackColor : 0;
  run.face = look.szFaceName;
  run.pointSize = look.yHeight / 20;
  run.bold = (look.dwEffects & CFE_BOLD) != 0;
  run.italic = (look.dwEffects & CFE_ITALIC) != 0;
  run.underline = (look.dwEffects & CFE_UNDERLINE) != 0;
  run.link = format.isAnchor();
  run.picture = format.isImageFormat();
  return run;
}

bool sameLook(const vorntest::RichTextRun& a, const vorntest::RichTextRun& b) {
  return a.colour == b.colour && a.background == b.background &&
         a.hasBackground == b.hasBackground && a.face == b.face && a.pointSize == b.pointSize &&
         a.bold == b.bold && a.italic == b.italic && a.underline == b.underline &&
         a.link == b.link && !a.picture && !b.picture;
}

void addRun(std::vector<vorntest::RichTextRun>* runs, vorntest::RichTextRun run) {
  if (!runs->empty() && sameLook(runs->back(), run)) {
    runs->back().text += run.text;
  } else {
    runs->push_back(std::move(run));
  }
}

}  // namespace

namespace vorntest {

std::vector<RichTextRun> richEditRuns(HWND hwnd) {
  std::vector<RichTextRun> runs;
  RichEditWidget* edit = vornplatform::richEditOf(hwnd);
  if (!edit) return runs;
  for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      QTextFragment fragment = it.fragment();
      RichTextRun run = runOf(edit, fragment.charFormat());
      run.text = RichEditPositions::blockText(block, fragment.position(),
                                              fragment.position() + fragment.length());
      addRun(&runs, std::move(run));
    }
    if (block.next().isValid()) {
      if (runs.empty() || runs.back().picture) runs.push_back(runOf(edit, block.charFormat()));
      runs.back().text += '\r';
    }
  }
  return runs;
}

bool clickRichEditAt(HWND hwnd, int pos, int button) {
  RichEditWidget* edit = vornplatform::richEditOf(hwnd);
  if (!edit || pos < 0 || pos >= edit->positions->totalBytes()) return false;
  int position = edit->positions->positionOf(pos);
  QTextBlock block = edit->document()->findBlock(position);
  QTextCursor cursor(edit->document());
  cursor.setPosition(position);
  QRect caret = edit->cursorRect(cursor);
  QScrollBar* bar = edit->verticalScrollBar();
  if (caret.top() < 0 || caret.bottom() > edit->viewport()->height()) {
    bar->setValue(bar->value() + caret.top() - edit->viewport()->height() / 2);
    caret = edit->cursorRect(cursor);
  }
  int x = caret.left() + 2;
  QTextLayout* layout = block.layout();
  if (layout) {
    int inBlock = position - block.position();
    QTextLine line = layout->lineForTextPosition(inBlock);
    if (line.isValid()) {
      double left = line.cursorToX(inBlock);
      double right = line.cursorToX(inBlock + 1);
      x = caret.left() + static_cast<int>((right - left) / 2);
    }
  }
  QPoint onClient = edit->viewport()->mapTo(edit, QPoint(x, caret.center().y()));
  return clickAt(hwnd, onClient.x(), onClient.y(), button);
}

bool scrollRichEditToTop(HWND hwnd) {
  RichEditWidget* edit = vornplatform::richEditOf(hwnd);
  if (!edit) return false;
  edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->minimum());
  return true;
}

bool scrollRichEditToBottom(HWND hwnd) {
  RichEditWidget* edit = vornplatform::richEditOf(hwnd);
  if (!edit) return false;
  edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
  return true;
}

bool richEditThumbCentre(HWND hwnd, POINT* centre) {
  RichEditWidget* edit = vornplatform::richEditOf(hwnd);
  QScrollBar* bar = edit ? edit->verticalScrollBar() : nullptr;
  if (!bar || !bar->isVisible() || !centre) return false;
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.subControls = QStyle::SC_All;
  option.orientation = Qt::Vertical;
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.singleStep = bar->singleStep();
  option.pageStep = bar->pageStep();
  QRect thumb =
      bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
  QPoint onEdit = bar->mapTo(edit, thumb.center());
  *centre = POINT{onEdit.x(), onEdit.y()};
  return true;
}

bool richEditAtEnd(HWND hwnd) {
  RichEditWidget* edit = vornplatform::richEditOf(hwnd);
  return edit && edit->verticalScrollBar()->value() >= edit->verticalScrollBar()->maximum();
}

}  // namespace vorntest
