// The IRichEditOle a rich edit hands out and its client site: inserting a static picture
// puts its image into the text at the selection, one position wide.
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include "platform/ControlRichEdit.h"
#include "platform/OleObjects.h"

namespace vornplatform {

class ClientSite final : public ComObject<IOleClientSite> {
 public:
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

 private:
  bool answers(REFIID riid) const override {
    return riid == IID_IUnknown || riid == IID_IOleClientSite;
  }
};

// Outlives its control when someone still holds it; then every call fails.
class RichEditOle final : public ComObject<IRichEditOle> {
 public:
  explicit RichEditOle(RichEditWidget* edit) : edit_(edit) {}
  void detach() { edit_ = nullptr; }

  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
    if (!site) return E_INVALIDARG;
    *site = edit_ ? new ClientSite : nullptr;
    return edit_ ? S_OK : E_FAIL;
  }
  LONG STDMETHODCALLTYPE GetObjectCount() override { return objects_; }
  LONG STDMETHODCALLTYPE GetLinkCount() override { return 0; }
  HRESULT STDMETHODCALLTYPE GetObject(LONG, REOBJECT*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertObject(REOBJECT* object) override {
    if (!edit_) return E_FAIL;
    QImage image;
    if (!object || !staticPictureImage(object->poleobj, &image)) return E_INVALIDARG;
    if (object->cp != static_cast<LONG>(REO_CP_SELECTION))
      selectBytes(edit_, object->cp, object->cp);
    if (!insertPictureAtSelection(edit_, image)) return E_FAIL;
    ++objects_;
    return S_OK;
  }

 private:
  bool answers(REFIID riid) const override {
    return riid == IID_IUnknown || riid == IID_IRichEditOle;
  }
  RichEditWidget* edit_;
  LONG objects_ = 0;
};

IRichEditOle* richEditOleOf(RichEditWidget* edit) {
  if (!edit->ole) edit->ole = new RichEditOle(edit);
  edit->ole->AddRef();
  return edit->ole;
}

void releaseRichEditOle(RichEditWidget* edit) {
  if (!edit->ole) return;
  edit->ole->detach();
  edit->ole->Release();
  edit->ole = nullptr;
}

bool insertPictureAtSelection(RichEditWidget* edit, const QImage& image) {
  if (image.isNull()) return false;
  static int pictures = 0;
  QUrl name(QStringLiteral("vornpicture:%1").arg(++pictures));
  edit->document()->addResource(QTextDocument::ImageResource, name, QVariant(image));
  QTextImageFormat format;
  format.setName(name.toString());
  format.setWidth(image.width());
  format.setHeight(image.height());
  QTextCursor cursor = edit->textCursor();
  ScrollKeeper keep(edit);
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  cursor.insertImage(format);
  cursor.endEditBlock();
  edit->setTextCursor(cursor);
  return true;
}

}  // namespace vornplatform
