// The "SysTreeView32" control: inserting (first, last, after an item, or sorted ignoring case),
// deleting, expanding, navigating, reading and writing items, and TVN_SELCHANGEDA on every
// change of the selected item, whoever made it.
#include "platform/ControlTree.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <cstring>

#include "platform/ControlClass.h"
#include "platform/TextCodec.h"

namespace vornplatform {
namespace {

const int kHandleRole = Qt::UserRole;
const int kParamRole = Qt::UserRole + 1;
const int kTextRole = Qt::UserRole + 2;
const int kImageRole = Qt::UserRole + 3;

quintptr nextHandle = 0;  // GUI thread only; handles are never reused

}  // namespace

TreeWidget::TreeWidget(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformRowHeights(true);
}

QTreeWidgetItem* TreeWidget::itemOf(HTREEITEM handle) const {
  auto it = items_.find(reinterpret_cast<quintptr>(handle));
  return it == items_.end() ? nullptr : it->second;
}

HTREEITEM TreeWidget::handleOf(const QTreeWidgetItem* item) {
  if (!item) return nullptr;
  return reinterpret_cast<HTREEITEM>(item->data(0, kHandleRole).value<quintptr>());
}

QTreeWidgetItem* TreeWidget::makeItem() {
  auto* item = new QTreeWidgetItem;
  quintptr handle = ++nextHandle;
  item->setData(0, kHandleRole, QVariant::fromValue(handle));
  items_[handle] = item;
  return item;
}

void TreeWidget::forget(QTreeWidgetItem* item) {
  items_.erase(reinterpret_cast<quintptr>(handleOf(item)));
  for (int i = 0; i < item->childCount(); ++i) forget(item->child(i));
}

void TreeWidget::deleteItem(QTreeWidgetItem* item) {
  forget(item);
  delete item;  // the view moves the current item first, which reports the change
}

void TreeWidget::deleteAll() {
  for (int i = 0; i < topLevelItemCount(); ++i) forget(topLevelItem(i));
  QTreeWidget::clear();
}

int TreeWidget::stateImage(const QTreeWidgetItem* item) {
  QVariant check = item->data(0, Qt::CheckStateRole);
  if (check.isValid()) return check.toInt() == Qt::Unchecked ? 1 : 2;
  return item->data(0, kImageRole).toInt();
}

void TreeWidget::setStateImage(QTreeWidgetItem* item, int image) {
  item->setData(0, kImageRole, image);
  showCheckBox(item);
}

void TreeWidget::showCheckBox(QTreeWidgetItem* item) {
  int image = item->data(0, kImageRole).toInt();
  if (checkBoxes_ && (image == 1 || image == 2)) {
    item->setCheckState(0, image == 2 ? Qt::Checked : Qt::Unchecked);
  } else {
    item->setData(0, Qt::CheckStateRole, QVariant());
  }
}

void TreeWidget::setCheckBoxes(bool on) {
  if (on == checkBoxes_) return;
  // Keep what the user clicked before the boxes change.
  QTreeWidgetItemIterator it(this);
  for (; *it; ++it) (*it)->setData(0, kImageRole, stateImage(*it));
  checkBoxes_ = on;
  for (QTreeWidgetItemIterator again(this); *again; ++again) showCheckBox(*again);
}

QRect TreeWidget::checkBoxRect(QTreeWidgetItem* item) {
  if (!item || !item->data(0, Qt::CheckStateRole).isValid()) return QRect();
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  QModelIndex index = indexFromItem(item);
  option.rect = visualRect(index);
  option.index = index;
  option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  option.checkState = item->checkState(0);
  option.text = item->text(0);
  return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

QTreeWidgetItem* TreeWidget::boxAt(const QPoint& at) {
  QTreeWidgetItem* item = itemAt(at);
  return checkBoxRect(item).contains(at) ? item : nullptr;
}

void TreeWidget::mousePressEvent(QMouseEvent* event) {
  QTreeWidgetItem* box =
      event->button() == Qt::LeftButton ? boxAt(event->position().toPoint()) : nullptr;
  pressedBox_ = handleOf(box);
  if (!box) {
    QTreeWidget::mousePressEvent(event);
    return;
  }
  event->accept();
}

void TreeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && boxAt(event->position().toPoint())) {
    mousePressEvent(event);  // a second click on the box
    return;
  }
  QTreeWidget::mouseDoubleClickEvent(event);
}

void TreeWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!pressedBox_ || event->button() != Qt::LeftButton) {
    QTreeWidget::mouseReleaseEvent(event);
    return;
  }
  QTreeWidgetItem* box = boxAt(event->position().toPoint());
  if (box && box == itemOf(pressedBox_)) {
    box->setCheckState(0, box->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  }
  pressedBox_ = nullptr;
  event->accept();
}

void TreeWidget::focusInEvent(QFocusEvent* event) {
  bool hadCurrent = currentItem() != nullptr;
  QSignalBlocker quiet(this);
  QTreeWidget::focusInEvent(event);
  if (!hadCurrent && currentItem()) {
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
  }
}

LPARAM TreeWidget::paramOf(const QTreeWidgetItem* item) {
  return static_cast<LPARAM>(item->data(0, kParamRole).toLongLong());
}

void TreeWidget::setParam(QTreeWidgetItem* item, LPARAM param) {
  item->setData(0, kParamRole, static_cast<qlonglong>(param));
}

QByteArray TreeWidget::textOf(const QTreeWidgetItem* item) {
  return item->data(0, kTextRole).toByteArray();
}

void TreeWidget::setText(QTreeWidgetItem* item, const char* text) {
  if (text == LPSTR_TEXTCALLBACKA) text = nullptr;
  QByteArray bytes(text ? text : "");
  item->setData(0, kTextRole, bytes);
  item->setText(0, bytesToQString(bytes.constData(), static_cast<size_t>(bytes.size())));
}

namespace {

TreeWidget* treeOf(HWND hwnd) { return controlWidget<TreeWidget>(hwnd); }

UINT stateOf(TreeWidget* tree, const QTreeWidgetItem* item) {
  UINT state = INDEXTOSTATEIMAGEMASK(TreeWidget::stateImage(item));
  if (item == tree->currentItem() || item->isSelected()) state |= TVIS_SELECTED;
  if (item->isExpanded()) state |= TVIS_EXPANDED;
  return state;
}

// The item part of a selection notification; a null item gives a null handle and value.
void describe(TreeWidget* tree, const QTreeWidgetItem* item, TVITEMA* out) {
  out->mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
  out->stateMask = TVIS_SELECTED | TVIS_EXPANDED | TVIS_STATEIMAGEMASK;
  if (!item) return;
  out->hItem = TreeWidget::handleOf(item);
  out->state = stateOf(tree, item);
  out->lParam = TreeWidget::paramOf(item);
}

void notifySelection(HWND hwnd, TreeWidget* tree, const NMTREEVIEWA& record) {
  NMTREEVIEWA nm = record;
  nm.hdr.code = TVN_SELCHANGEDA;
  nm.action = tree->pendingAction;
  tree->pendingAction = TVC_UNKNOWN;
  if (IsWindow(hwnd)) sendNotifyToParent(hwnd, &nm.hdr);
}

void selectionMoved(HWND hwnd, TreeWidget* tree, QTreeWidgetItem* now, QTreeWidgetItem* before) {
  if (now && !now->isSelected()) now->setSelected(true);
  NMTREEVIEWA nm{};
  describe(tree, before, &nm.itemOld);
  describe(tree, now, &nm.itemNew);
  notifySelection(hwnd, tree, nm);
}

void applyStyle(TreeWidget* tree, DWORD style) {
  tree->setRootIsDecorated(style & TVS_LINESATROOT);
  tree->setCheckBoxes(style & TVS_CHECKBOXES);
}

QWidget* createTree(HWND hwnd, const CREATESTRUCTA& cs, QWidget* parent) {
  auto* tree = new TreeWidget(parent);
  applyStyle(tree, static_cast<DWORD>(cs.style));
  QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                   [hwnd, tree](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                     selectionMoved(hwnd, tree, now, before);
                   });
  return tree;
}

// Where a new item goes among its siblings: first, last, after a sibling, or in sorted place
// (after siblings that compare equal, ignoring case).
int placeFor(TreeWidget* tree, QTreeWidgetItem* parent, HTREEITEM after, const QString& text) {
  int count = parent ? parent->childCount() : tree->topLevelItemCount();
  auto childAt = [&](int i) { return parent ? parent->child(i) : tree->topLevelItem(i); };
  if (after == TVI_FIRST) return 0;
  if (after == TVI_SORT) {
    int i = 0;
    while (i < count && QString::compare(childAt(i)->text(0), text, Qt::CaseInsensitive) <= 0) ++i;
    return i;
  }
  QTreeWidgetItem* sibling = tree->itemOf(after);
  if (sibling && sibling->parent() == parent) {
    int at = parent ? parent->indexOfChild(sibling) : tree->indexOfTopLevelItem(sibling);
    if (at >= 0) return at + 1;
  }
  return count;  // TVI_LAST, and anything unusable
}

bool writeItem(TreeWidget* tree, QTreeWidgetItem* item, const TVITEMA& in) {
  if (in.mask & TVIF_TEXT) TreeWidget::setText(item, in.pszText);
  if (in.mask & TVIF_PARAM) TreeWidget::setParam(item, in.lParam);
  if (!(in.mask & TVIF_STATE)) return true;
  if (in.stateMask & TVIS_STATEIMAGEMASK) {
    tree->setStateImage(item, static_cast<int>((in.state & TVIS_STATEIMAGEMASK) >> 12));
  }
  if (in.stateMask & TVIS_EXPANDED) item->setExpanded(in.state & TVIS_EXPANDED);
  return true;
}

LRESULT insertItem(TreeWidget* tree, const TVINSERTSTRUCTA* in) {
  if (!in) return 0;
  QTreeWidgetItem* parent = nullptr;
  if (in->hParent && in->hParent != TVI_ROOT) {
    parent = tree->itemOf(in->hParent);
    if (!parent) return 0;
  }
  QTreeWidgetItem* item = tree->makeItem();
  TreeWidget::setText(item, "");
  // Items that arrive while the tree shows check boxes start unchecked.
  tree->setStateImage(item, tree->checkBoxes() ? 1 : 0);
  writeItem(tree, item, in->item);
  int place = placeFor(tree, parent, in->hInsertAfter, item->text(0));
  if (parent) {
    parent->insertChild(place, item);
  } else {
    tree->insertTopLevelItem(place, item);
  }
  return reinterpret_cast<LRESULT>(TreeWidget::handleOf(item));
}

LRESULT deleteItem(HWND hwnd, TreeWidget* tree, HTREEITEM handle) {
  tree->pendingAction = TVC_UNKNOWN;
  if (!handle || handle == TVI_ROOT) {
    QTreeWidgetItem* before = tree->currentItem();
    if (!before) {
      tree->deleteAll();
      return TRUE;
    }
    NMTREEVIEWA nm{};
    describe(tree, before, &nm.itemOld);
    describe(tree, nullptr, &nm.itemNew);
    {
      QSignalBlocker quiet(tree);
      tree->deleteAll();
    }
    notifySelection(hwnd, tree, nm);
    return TRUE;
  }
  QTreeWidgetItem* item = tree->itemOf(handle);
  if (!item) return FALSE;
  tree->deleteItem(item);
  return TRUE;
}

LRESULT getItem(TreeWidget* tree, TVITEMA* out) {
  if (!out) return FALSE;
  QTreeWidgetItem* item = tree->itemOf(out->hItem);
  if (!item) return FALSE;
  if (out->mask & TVIF_TEXT && out->pszText && out->cchTextMax > 0) {
    QByteArray text = TreeWidget::textOf(item);
    size_t n = std::min(static_cast<size_t>(text.size()), static_cast<size_t>(out->cchTextMax - 1));
    std::memcpy(out->pszText, text.constData(), n);
    out->pszText[n] = '\0';
  }
  if (out->mask & TVIF_PARAM) out->lParam = TreeWidget::paramOf(item);
  if (out->mask & TVIF_STATE) out->state = stateOf(tree, item);
  if (out->mask & TVIF_CHILDREN) out->cChildren = item->childCount() > 0 ? 1 : 0;
  return TRUE;
}

LRESULT setItem(TreeWidget* tree, const TVITEMA* in) {
  if (!in) return FALSE;
  QTreeWidgetItem* item = tree->itemOf(in->hItem);
  if (!item) return FALSE;
  return writeItem(tree, item, *in);
}

LRESULT expand(TreeWidget* tree, WPARAM action, HTREEITEM handle) {
  QTreeWidgetItem* item = tree->itemOf(handle);
  if (!item) return FALSE;
  switch (action & 3) {
    case TVE_COLLAPSE:
      item->setExpanded(false);
      return TRUE;
    case TVE_EXPAND:
      item->setExpanded(true);
      return TRUE;
    case TVE_TOGGLE:
      item->setExpanded(!item->isExpanded());
      return TRUE;
    default:
      return FALSE;
  }
}

QTreeWidgetItem* nextItem(TreeWidget* tree, WPARAM relation, HTREEITEM handle) {
  if (relation == TVGN_ROOT) return tree->topLevelItem(0);
  if (relation == TVGN_CARET) return tree->currentItem();
  if (relation == TVGN_CHILD && (!handle || handle == TVI_ROOT)) return tree->topLevelItem(0);
  QTreeWidgetItem* item = tree->itemOf(handle);
  if (!item) return nullptr;
  QTreeWidgetItem* parent = item->parent();
  int at = parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item);
  auto sibling = [&](int i) -> QTreeWidgetItem* {
    if (i < 0) return nullptr;
    return parent ? parent->child(i) : tree->topLevelItem(i);
  };
  switch (relation) {
    case TVGN_NEXT:
      return sibling(at + 1);
    case TVGN_PREVIOUS:
      return sibling(at - 1);
    case TVGN_PARENT:
      return parent;
    case TVGN_CHILD:
      return item->child(0);
    default:
      return nullptr;
  }
}

LRESULT selectItem(TreeWidget* tree, WPARAM how, HTREEITEM handle) {
  if (how != TVGN_CARET) return FALSE;
  tree->pendingAction = TVC_UNKNOWN;
  if (!handle) {
    tree->setCurrentItem(nullptr);
    return TRUE;
  }
  QTreeWidgetItem* item = tree->itemOf(handle);
  if (!item) return FALSE;
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) up->setExpanded(true);
  tree->setCurrentItem(item);
  tree->scrollToItem(item);
  return TRUE;
}

LRESULT CALLBACK treeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TreeWidget* tree = treeOf(hwnd);
  if (!tree) return controlDefaultProc(hwnd, msg, wParam, lParam);
  auto handle = reinterpret_cast<HTREEITEM>(lParam);
  switch (msg) {
    case TVM_INSERTITEMA:
      return insertItem(tree, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam));
    case TVM_DELETEITEM:
      return deleteItem(hwnd, tree, handle);
    case TVM_EXPAND:
      return expand(tree, wParam, handle);
    case TVM_GETCOUNT: {
      int count = 0;
      for (QTreeWidgetItemIterator it(tree); *it; ++it) ++count;
      return count;
    }
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(TreeWidget::handleOf(nextItem(tree, wParam, handle)));
    case TVM_SELECTITEM:
      return selectItem(tree, wParam, handle);
    case TVM_GETITEMA:
      return getItem(tree, reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
      return setItem(tree, reinterpret_cast<const TVITEMA*>(lParam));
    case WM_STYLECHANGED:
      if (static_cast<int>(wParam) == GWL_STYLE && lParam) {
        applyStyle(tree, reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew);
      }
      break;
    // The widget acts on input after this procedure returns: remember what is coming.
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetFocus(hwnd);  // a click takes the focus
      tree->pendingAction = TVC_BYMOUSE;
      break;
    case WM_LBUTTONDBLCLK:
      tree->pendingAction = TVC_BYMOUSE;
      break;
    case WM_KEYDOWN:
      tree->pendingAction = TVC_BYKEYBOARD;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_KEYUP:
      tree->pendingAction = TVC_UNKNOWN;
      break;
    default:
      break;
  }
  return controlDefaultProc(hwnd, msg, wParam, lParam);
}

const ControlClass kTree{"SysTreeView32", CS_DBLCLKS, treeProc, createTree};
const bool registered = registerControlClass(kTree);

}  // namespace
}  // namespace vornplatform
