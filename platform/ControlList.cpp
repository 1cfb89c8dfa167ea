// The "SysListView32" control in list mode: inserting (at an index, or in sorted place with a
// sort style), deleting, finding by text or value, item states, and the LVN_ITEMCHANGED and
// LVN_ITEMACTIVATE notifications.
#include "platform/ControlList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/ControlClass.h"
#include "platform/TextCodec.h"

namespace vornplatform {
namespace {

const int kParamRole = Qt::UserRole;
const int kTextRole = Qt::UserRole + 1;

}  // namespace

ListWidget::ListWidget(HWND hwnd, QWidget* parent) : QListWidget(parent), hwnd_(hwnd) {
  setViewMode(QListView::ListMode);
  setFlow(QListView::TopToBottom);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(this, &QListWidget::currentItemChanged, this, [this] { qtChanged(); });
  connect(this, &QListWidget::itemSelectionChanged, this, [this] { qtChanged(); });
}

LPARAM ListWidget::paramOf(const QListWidgetItem* item) {
  return static_cast<LPARAM>(item->data(kParamRole).toLongLong());
}

QByteArray ListWidget::textOf(const QListWidgetItem* item) {
  return item->data(kTextRole).toByteArray();
}

void ListWidget::setParam(QListWidgetItem* item, LPARAM param) {
  item->setData(kParamRole, static_cast<qlonglong>(param));
}

void ListWidget::setText(QListWidgetItem* item, const char* text) {
  if (text == LPSTR_TEXTCALLBACKA) text = nullptr;
  QByteArray bytes(text ? text : "");
  item->setData(kTextRole, bytes);
  item->setText(bytesToQString(bytes.constData(), static_cast<size_t>(bytes.size())));
}

UINT ListWidget::stateOf(const QListWidgetItem* item) const {
  UINT state = item == focused_ ? LVIS_FOCUSED : 0;
  if (selected_.count(const_cast<QListWidgetItem*>(item))) state |= LVIS_SELECTED;
  return state;
}

void ListWidget::forget(const QListWidgetItem* item) {
  if (focused_ == item) focused_ = nullptr;
  selected_.erase(const_cast<QListWidgetItem*>(item));
}

void ListWidget::forgetAll() {
  focused_ = nullptr;
  selected_.clear();
}

void ListWidget::qtChanged() {
  if (!quiet_) reportChanges();
}

void ListWidget::mousePressEvent(QMouseEvent* event) {
  change([&] { QListWidget::mousePressEvent(event); }, true);
}

void ListWidget::mouseReleaseEvent(QMouseEvent* event) {
  change([&] { QListWidget::mouseReleaseEvent(event); }, true);
}

void ListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  change([&] { QListWidget::mouseDoubleClickEvent(event); }, true);
  if (event->button() == Qt::LeftButton) activate(itemAt(event->position().toPoint()));
}

void ListWidget::mouseMoveEvent(QMouseEvent* event) {
  change([&] { QListWidget::mouseMoveEvent(event); }, true);
}

void ListWidget::keyPressEvent(QKeyEvent* event) {
  change([&] { QListWidget::keyPressEvent(event); }, true);
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) activate(currentItem());
}

void ListWidget::activate(QListWidgetItem* item) {
  if (!item || !IsWindow(hwnd_)) return;
  NMITEMACTIVATE nm{};
  nm.hdr.code = LVN_ITEMACTIVATE;
  nm.iItem = row(item);
  nm.uNewState = stateOf(item);
  nm.lParam = paramOf(item);
  sendNotifyToParent(hwnd_, &nm.hdr);
}

void ListWidget::focusInEvent(QFocusEvent* event) {
  change([&] { QListWidget::focusInEvent(event); }, false);
}

void ListWidget::restoreReported() {
  ++quiet_;
  QModelIndex focus = focused_ ? indexFromItem(focused_) : QModelIndex();
  selectionModel()->setCurrentIndex(focus, QItemSelectionModel::NoUpdate);
  QItemSelection selection;
  for (QListWidgetItem* item : selected_) {
    QModelIndex index = indexFromItem(item);
    selection.select(index, index);
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  --quiet_;
}

void ListWidget::reportChanges() {
  QListWidgetItem* nowFocused = currentItem();
  QList<QListWidgetItem*> list = selectedItems();
  std::set<QListWidgetItem*> nowSelected(list.begin(), list.end());
  std::set<QListWidgetItem*> touched = selected_;
  touched.insert(nowSelected.begin(), nowSelected.end());
  if (focused_) touched.insert(focused_);
  if (nowFocused) touched.insert(nowFocused);

  // Records first, then sends: a handler may change the list under us.
  std::vector<NMLISTVIEW> losses, gains;
  for (QListWidgetItem* item : touched) {
    UINT before = stateOf(item);
    UINT after =
        (item == nowFocused ? LVIS_FOCUSED : 0) | (nowSelected.count(item) ? LVIS_SELECTED : 0);
    if (before == after) continue;
    NMLISTVIEW nm{};
    nm.hdr.code = LVN_ITEMCHANGED;
    nm.iItem = row(item);
    nm.uOldState = before;
    nm.uNewState = after;
    nm.uChanged = LVIF_STATE;
    nm.lParam = paramOf(item);
    ((after & ~before) ? gains : losses).push_back(nm);
  }
  focused_ = nowFocused;
  selected_ = nowSelected;
  auto byRow = [](const NMLISTVIEW& a, const NMLISTVIEW& b) { return a.iItem < b.iItem; };
  std::sort(losses.begin(), losses.end(), byRow);
  std::sort(gains.begin(), gains.end(), byRow);
  losses.insert(losses.end(), gains.begin(), gains.end());
  for (NMLISTVIEW& nm : losses) {
    if (!IsWindow(hwnd_)) return;
    sendNotifyToParent(hwnd_, &nm.hdr);
  }
}

namespace {

ListWidget* listOf(HWND hwnd) { return controlWidget<ListWidget>(hwnd); }

DWORD styleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }

UINT liveState(ListWidget* list, QListWidgetItem* item) {
  UINT state = item == list->currentItem() ? LVIS_FOCUSED : 0;
  return item->isSelected() ? state | LVIS_SELECTED : state;
}

void applyStyle(ListWidget* list, DWORD style) {
  bool single = style & LVS_SINGLESEL;
  list->setSelectionMode(single ? QAbstractItemView::SingleSelection
                                : QAbstractItemView::ExtendedSelection);
}

QWidget* createList(HWND hwnd, const CREATESTRUCTA& cs, QWidget* parent) {
  auto* list = new ListWidget(hwnd, parent);
  applyStyle(list, static_cast<DWORD>(cs.style));
  return list;
}

int compareText(const QListWidgetItem* item, const QString& text) {
  return QString::compare(item->text(), text, Qt::CaseInsensitive);
}

// With a sort style the index is ignored: the item goes after the ones that sort before it or
// equal it. Without, an index beyond the end appends.
int placeFor(ListWidget* list, DWORD style, int index, const QString& text) {
  int count = list->count();
  if (style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
    int sign = (style & LVS_SORTASCENDING) ? 1 : -1;
    int i = 0;
    while (i < count && sign * compareText(list->item(i), text) <= 0) ++i;
    return i;
  }
  return std::min(index, count);
}

LRESULT setState(ListWidget* list, int index, UINT state, UINT mask);

LRESULT insertItem(HWND hwnd, ListWidget* list, const LVITEMA* in) {
  if (!in || in->iItem < 0 || in->iSubItem != 0) return -1;
  auto* item = new QListWidgetItem;
  ListWidget::setText(item, (in->mask & LVIF_TEXT) ? in->pszText : nullptr);
  ListWidget::setParam(item, (in->mask & LVIF_PARAM) ? in->lParam : 0);
  int row = placeFor(list, styleOf(hwnd), in->iItem, item->text());
  list->change([&] { list->insertItem(row, item); }, false);
  if ((in->mask & LVIF_STATE) && (in->stateMask & (LVIS_FOCUSED | LVIS_SELECTED))) {
    setState(list, row, in->state, in->stateMask);
  }
  return row;
}

LRESULT deleteItem(ListWidget* list, int index) {
  QListWidgetItem* item = list->item(index);
  if (!item) return FALSE;
  list->forget(item);
  list->change([&] { delete list->takeItem(index); }, false);
  return TRUE;
}

LRESULT deleteAll(ListWidget* list) {
  list->forgetAll();
  list->change([&] { list->clear(); }, false);
  return TRUE;
}

void copyText(const QByteArray& text, LPSTR out, int size) {
  if (!out || size <= 0) return;
  size_t n = std::min(static_cast<size_t>(text.size()), static_cast<size_t>(size - 1));
  std::memcpy(out, text.constData(), n);
  out[n] = '\0';
}

LRESULT getItem(ListWidget* list, LVITEMA* out) {
  if (!out) return FALSE;
  QListWidgetItem* item = list->item(out->iItem);
  if (!item) return FALSE;
  if (out->mask & LVIF_TEXT) copyText(ListWidget::textOf(item), out->pszText, out->cchTextMax);
  if (out->mask & LVIF_PARAM) out->lParam = ListWidget::paramOf(item);
  if (out->mask & LVIF_STATE) out->state = liveState(list, item) & out->stateMask;
  return TRUE;
}

void applyState(ListWidget* list, QListWidgetItem* item, UINT state, UINT mask) {
  if (mask & LVIS_SELECTED) {
    bool on = state & LVIS_SELECTED;
    if (on && list->selectionMode() == QAbstractItemView::SingleSelection) list->clearSelection();
    item->setSelected(on);
  }
  if (mask & LVIS_FOCUSED) {
    QItemSelectionModel* model = list->selectionModel();
    if (state & LVIS_FOCUSED) {
      model->setCurrentIndex(list->indexFromItem(item), QItemSelectionModel::NoUpdate);
    } else if (list->currentItem() == item) {
      model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
  }
}

// Index -1 changes every item.
LRESULT setState(ListWidget* list, int index, UINT state, UINT mask) {
  if (index != -1 && !list->item(index)) return FALSE;
  list->change(
      [&] {
        for (int i = 0; i < list->count(); ++i) {
          if (index == -1 || i == index) applyState(list, list->item(i), state, mask);
        }
      },
      true);
  return TRUE;
}

LRESULT nextItem(ListWidget* list, int start, UINT flags) {
  for (int i = start < 0 ? 0 : start + 1; i < list->count(); ++i) {
    UINT state = liveState(list, list->item(i));
    if ((flags & LVNI_SELECTED) && !(state & LVIS_SELECTED)) continue;
    if ((flags & LVNI_FOCUSED) && !(state & LVIS_FOCUSED)) continue;
    return i;
  }
  return -1;
}

bool matches(const QListWidgetItem* item, const LVFINDINFOA& find, const QString& text) {
  if (find.flags & LVFI_PARAM) return ListWidget::paramOf(item) == find.lParam;
  if (find.flags & LVFI_PARTIAL) return item->text().startsWith(text, Qt::CaseInsensitive);
  return compareText(item, text) == 0;
}

// Searches after start (from the top for -1), wrapping round with LVFI_WRAP; text compares
// ignore case.
LRESULT findItem(ListWidget* list, int start, const LVFINDINFOA* find) {
  if (!find) return -1;
  if (!(find->flags & (LVFI_PARAM | LVFI_STRING | LVFI_PARTIAL))) return -1;
  QString text = bytesToQString(find->psz);
  int count = list->count();
  int first = start < 0 ? 0 : start + 1;
  int span = (find->flags & LVFI_WRAP) ? count : count - first;
  for (int n = 0; n < span; ++n) {
    int i = (first + n) % std::max(count, 1);
    if (matches(list->item(i), *find, text)) return i;
  }
  return -1;
}

LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ListWidget* list = listOf(hwnd);
  if (!list) return controlDefaultProc(hwnd, msg, wParam, lParam);
  int index = static_cast<int>(wParam);
  switch (msg) {
    case LVM_GETITEMCOUNT:
      return list->count();
    case LVM_GETITEMA:
      return getItem(list, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_INSERTITEMA:
      return insertItem(hwnd, list, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM:
      return deleteItem(list, index);
    case LVM_DELETEALLITEMS:
      return deleteAll(list);
    case LVM_GETNEXTITEM:
      return nextItem(list, index, LOWORD(lParam));
    case LVM_FINDITEMA:
      return findItem(list, index, reinterpret_cast<const LVFINDINFOA*>(lParam));
    case LVM_SETITEMSTATE: {
      auto* in = reinterpret_cast<const LVITEMA*>(lParam);
      return in ? setState(list, index, in->state, in->stateMask) : FALSE;
    }
    case LVM_GETITEMSTATE: {
      QListWidgetItem* item = list->item(index);
      return item ? liveState(list, item) & static_cast<UINT>(lParam) : 0;
    }
    case WM_STYLECHANGED:
      if (static_cast<int>(wParam) == GWL_STYLE && lParam) {
        applyStyle(list, reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew);
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetFocus(hwnd);  // a click takes the focus
      break;
    default:
      break;
  }
  return controlDefaultProc(hwnd, msg, wParam, lParam);
}

const ControlClass kList{"SysListView32", CS_DBLCLKS, listProc, createList};
const bool registered = registerControlClass(kList);

}  // namespace
}  // namespace vornplatform
