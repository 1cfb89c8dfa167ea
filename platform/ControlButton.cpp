// The "Button" control: push buttons (BN_CLICKED to the parent), check boxes with
// BM_GETCHECK/BM_SETCHECK, radio buttons and group boxes, over the matching Qt widgets.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <type_traits>

#include "platform/ControlClass.h"
#include "platform/TextCodec.h"
#include "platform/WindowTable.h"

namespace vornplatform {
namespace {

DWORD kindOf(DWORD style) { return style & 0xF; }

bool isAutomatic(DWORD kind) { return kind == BS_AUTOCHECKBOX || kind == BS_AUTORADIOBUTTON; }

// A check box or radio button whose text takes a second line where one is too short for it,
// instead of being cut, and which a click anywhere on the control toggles.
template <class Base>
class WrappingButton : public Base {
 public:
  WrappingButton(const QString& text, QWidget* parent) : Base(text, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    constexpr bool radio = std::is_same_v<Base, QRadioButton>;
    QStylePainter painter(this);
    QStyleOptionButton option;
    this->initStyleOption(&option);
    QString text = option.text;
    option.text.clear();
    painter.drawControl(radio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, option);
    QRect area = this->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, this);
    painter.drawItemText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, option.palette,
                         this->isEnabled(), text, QPalette::WindowText);
  }
  bool hitButton(const QPoint& point) const override { return this->rect().contains(point); }
};

QWidget* createButton(HWND hwnd, const CREATESTRUCTA& cs, QWidget* parent) {
  DWORD kind = kindOf(static_cast<DWORD>(cs.style));
  QString text = bytesToQString(cs.lpszName);
  if (kind == BS_GROUPBOX) return new QGroupBox(text, parent);
  QAbstractButton* button;
  if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX) {
    button = new WrappingButton<QCheckBox>(text, parent);
  } else if (kind == 4 || kind == BS_AUTORADIOBUTTON) {
    auto* radio = new WrappingButton<QRadioButton>(text, parent);
    radio->setAutoExclusive(false);
    button = radio;
  } else {
    auto* push = new QPushButton(text, parent);
    push->setDefault(kind == BS_DEFPUSHBUTTON);
    button = push;
  }
  QObject::connect(button, &QAbstractButton::clicked, [hwnd, button](bool checked) {
    DWORD k = kindOf(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)));
    if (button->isCheckable() && !isAutomatic(k))
      button->setChecked(!checked);  // the owner decides
    if (IsWindow(hwnd)) sendCommandToParent(hwnd, BN_CLICKED);
  });
  return button;
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  QWidget* widget = controlWidgetOf(hwnd);
  auto* button = dynamic_cast<QAbstractButton*>(widget);
  switch (msg) {
    case BM_GETCHECK:
      return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      if (button && button->isCheckable()) button->setChecked(wParam == BST_CHECKED);
      return 0;
    case BM_GETSTATE:
      if (!button) return 0;
      return (button->isChecked() ? BST_CHECKED : 0) | (button->isDown() ? 0x0004 : 0);
    case BM_CLICK:
      if (button) button->click();
      return 0;
    case WM_LBUTTONDOWN:
      if (button) SetFocus(hwnd);  // a click takes the focus (a group box never has it)
      break;
    case WM_SETTEXT: {
      QString text = bytesToQString(reinterpret_cast<const char*>(lParam));
      if (button) button->setText(text);
      if (auto* group = dynamic_cast<QGroupBox*>(widget)) group->setTitle(text);
      break;
    }
    case WM_STYLECHANGED:
      if (auto* push = dynamic_cast<QPushButton*>(widget)) {
        push->setDefault(kindOf(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE))) ==
                         BS_DEFPUSHBUTTON);
      }
      break;
    default:
      break;
  }
  return controlDefaultProc(hwnd, msg, wParam, lParam);
}

const ControlClass kButton{"Button", CS_DBLCLKS, buttonProc, createButton};
const bool registered = registerControlClass(kButton);

}  // namespace
}  // namespace vornplatform
