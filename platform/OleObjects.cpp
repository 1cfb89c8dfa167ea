// In-memory lock bytes and storage (placeholders the picture code asks for), the static
// picture object, and the OLE helpers around bitmaps and storage media.
#include "platform/OleObjects.h"

#include "platform/GdiObjects.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

// Answers QueryInterface for a static picture with the object itself.
const IID kStaticPictureId = {
    0x5e3c0a71, 0x4b2d, 0x4f10, {0x9a, 0x61, 0x21, 0x7e, 0x0c, 0x55, 0x3d, 0x48}};

class LockBytes final : public ComObject<ILockBytes> {
 public:
  HRESULT STDMETHODCALLTYPE ReadAt(ULONGLONG, void*, ULONG, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE WriteAt(ULONGLONG, const void*, ULONG, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetSize(ULONGLONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULONGLONG, ULONGLONG, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULONGLONG, ULONGLONG, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }

 private:
  bool answers(REFIID riid) const override {
    return riid == IID_IUnknown || riid == IID_ILockBytes;
  }
};

class Storage final : public ComObject<IStorage> {
 public:
  explicit Storage(ILockBytes* bytes) : bytes_(bytes) { bytes_->AddRef(); }
  HRESULT STDMETHODCALLTYPE CreateStream(LPCOLESTR, DWORD, DWORD, DWORD, IStream**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OpenStream(LPCOLESTR, void*, DWORD, DWORD, IStream**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateStorage(LPCOLESTR, DWORD, DWORD, DWORD, IStorage**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OpenStorage(LPCOLESTR, IStorage*, DWORD, char**, DWORD,
                                        IStorage**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(DWORD, const IID*, char**, IStorage*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE MoveElementTo(LPCOLESTR, IStorage*, LPCOLESTR, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnumElements(DWORD, void*, DWORD, IEnumSTATSTG**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DestroyElement(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenameElement(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetElementTimes(LPCOLESTR, const FILETIME*, const FILETIME*,
                                            const FILETIME*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetClass(REFCLSID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetStateBits(DWORD, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }

 private:
  ~Storage() override { bytes_->Release(); }
  bool answers(REFIID riid) const override { return riid == IID_IUnknown || riid == IID_IStorage; }
  ILockBytes* bytes_;
};

// A picture that only shows an image: everything but identification is not supported.
class StaticPicture final : public ComObject<IOleObject> {
 public:
  explicit StaticPicture(const QImage& image) : image_(image) {}
  const QImage& image() const { return image_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object && riid == kStaticPictureId) {
      *object = this;
      AddRef();
      return S_OK;
    }
    return ComObject<IOleObject>::QueryInterface(riid, object);
  }
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, MSG*, IOleClientSite*, LONG, HWND, const RECT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_NULL;  // a static picture has no server
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

 private:
  bool answers(REFIID riid) const override {
    return riid == IID_IUnknown || riid == IID_IOleObject;
  }
  QImage image_;
};

bool imageOfBitmap(HANDLE bitmap, QImage* image) {
  GdiObjectPtr object = findGdiObject(static_cast<HGDIOBJ>(bitmap));
  if (!object || object->kind != GdiKind::Bitmap || !object->image) return false;
  *image = object->image->copy();
  return true;
}

}  // namespace

bool staticPictureImage(IUnknown* object, QImage* image) {
  if (!object) return false;
  void* found = nullptr;
  if (FAILED(object->QueryInterface(kStaticPictureId, &found)) || !found) return false;
  auto* picture = static_cast<StaticPicture*>(found);
  *image = picture->image();
  picture->Release();
  return true;
}

}  // namespace vornplatform

using vornplatform::LockBytes;
using vornplatform::StaticPicture;
using vornplatform::Storage;

HRESULT CreateILockBytesOnHGlobal(HGLOBAL, BOOL, ILockBytes** out) {
  if (!out) return E_INVALIDARG;
  *out = new LockBytes;
  return S_OK;
}

HRESULT StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD, DWORD, IStorage** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!bytes) return E_INVALIDARG;
  *out = new Storage(bytes);
  return S_OK;
}

HRESULT OleCreateStaticFromData(IDataObject* data, REFIID iid, DWORD, FORMATETC* format,
                                IOleClientSite*, IStorage*, void** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!data) return E_INVALIDARG;
  FORMATETC wanted = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
  if (format) wanted = *format;
  if (wanted.cfFormat != CF_BITMAP) return DV_E_FORMATETC;
  STGMEDIUM medium{};
  HRESULT result = data->GetData(&wanted, &medium);
  if (FAILED(result)) return result;
  QImage image;
  bool ok = medium.tymed == TYMED_GDI && vornplatform::imageOfBitmap(medium.hBitmap, &image);
  ReleaseStgMedium(&medium);
  if (!ok) return DV_E_FORMATETC;
  auto* picture = new StaticPicture(image);
  result = picture->QueryInterface(iid, out);
  picture->Release();
  return result;
}

HRESULT OleSetContainedObject(IUnknown*, BOOL) { return S_OK; }

HANDLE OleDuplicateData(HANDLE source, CLIPFORMAT format, UINT) {
  QImage image;
  if (format != CF_BITMAP || !vornplatform::imageOfBitmap(source, &image)) return nullptr;
  HBITMAP copy = CreateCompatibleBitmap(nullptr, image.width(), image.height());
  vornplatform::GdiObjectPtr object = vornplatform::findGdiObject(copy);
  if (!object || !object->image) return nullptr;
  *object->image = image;
  return copy;
}

void ReleaseStgMedium(STGMEDIUM* medium) {
  if (!medium) return;
  if (medium->pUnkForRelease) {
    medium->pUnkForRelease->Release();
  } else if (medium->tymed == TYMED_GDI && medium->hBitmap) {
    DeleteObject(medium->hBitmap);
  }
  medium->tymed = TYMED_NULL;
  medium->hBitmap = nullptr;
  medium->pUnkForRelease = nullptr;
}
