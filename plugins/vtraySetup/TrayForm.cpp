#include "plugins/vtraySetup/TrayForm.h"

TrayForm::TrayForm() {
  name = "Form1";
  caption = "Form1";
  color = frt::clBtnFace;
  width = kWidth;
  height = kHeight;
  bevel1 = new frt::Bevel(this, this);
  bevel1->name = "Bevel1";
  bevel1->setBounds(8, 8, 337, 265);
  checkBox1 = addCheckBox("CheckBox1", "Hide when minimize", 16, false);
  checkBox2 = addCheckBox("CheckBox2", "Simple click to untray", 32, true);
  checkBox3 = addCheckBox("CheckBox3", "Chat meter", 48, false);
  listView1 = new frt::ListView(this, this);
  listView1->name = "ListView1";
  listView1->setBounds(16, 104, 321, 161);
  listView1->gridLines = true;
  listView1->addColumn("hot key", true);
  listView1->addColumn("action", true);
  listView1->addRow({"ctrl-alt-esc", "switch to tray"});
  listView1->sizeColumns();
  flatSkin1 = new skin::FlatSkin(this);
  flatSkin1->name = "FlatSkin1";
}

frt::CheckBox* TrayForm::addCheckBox(const char* controlName, const char* text, int top,
                                     bool checked) {
  frt::CheckBox* box = new frt::CheckBox(this, this);
  box->name = controlName;
  box->caption = text;
  box->setBounds(16, top, 153, 17);
  box->color = color;
  box->setChecked(checked);
  return box;
}

TrayForm* TrayForm::create(HWND parent) {
  if (!IsWindow(parent)) return nullptr;
  TrayForm* form = new TrayForm();
  if (!form->createHandle(parent)) {
    delete form;
    return nullptr;
  }
  form->flatSkin1->setActive(true);
  form->invalidate();
  return form;
}
