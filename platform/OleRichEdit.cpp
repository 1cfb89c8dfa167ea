// The IRichEditOle a rich edit hands out and its client site: inserting a static picture
// puts its image into the text at the selection, one position wide.
#include <QHash>
#include <QImage>
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

namespace {

// The resource name of the picture: an identical picture already in the text lends its name,
// so a pane showing the same few emoticons keeps one copy of each.
QString pictureName(RichEditWidget* edit, const QImage& image) {
  static int pictures = 0;
  size_t key = qHashBits(image.constBits(), static_cast<size_t>(image.sizeInBytes()),
                         qHash(image.width()) ^ qHash(image.height()));
  auto known = edit->pictureNames.constFind(key);
  if (known != edit->pictureNames.constEnd()) {
    QVariant held = edit->document()->resource(QTextDocument::ImageResource, QUrl(*known));
    if (held.value<QImage>() == image) return *known;
  }
  QString name = QStringLiteral("vornpicture:%1").arg(++pictures);
  edit->document()->addResource(QTextDocument::ImageResource, QUrl(name), QVariant(image));
  edit->pictureNames.insert(key, name);
  return name;
}

}  // namespace

bool insertPictureAtSelection(RichEditWidget* edit, const QImage& image) {
  if (image.isNull()) return false;
  QTextImageFormat format;
  format.setName(pictureName(edit, image));
  format.setWidth(image.width());
  format.setHeight(image.height());
  edit->beforeChangeAt(edit->selection().selectionStart());
  edit->deferLayout();
  QTextCursor cursor = edit->selection();
  ScrollKeeper keep(edit);
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  int from = cursor.position();
  cursor.insertImage(format);
  cursor.endEditBlock();
  edit->markEdited();
  edit->positions->changedAt(from);
  notifyHeldChange(edit);
  edit->setTextCursor(cursor);
  return true;
}

}  // namespace vornplatform
