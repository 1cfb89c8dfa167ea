#include "lib/PictureDataObject.h"

PictureDataObject::PictureDataObject() : refCount(0), medium(), format() {}

HRESULT PictureDataObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDataObject) {
    *object = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG PictureDataObject::AddRef() { return ++refCount; }

ULONG PictureDataObject::Release() {
  if (refCount == 0) return 0;  // an unbalanced release must not delete twice
  ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

HRESULT PictureDataObject::GetData(FORMATETC*, STGMEDIUM* out) {
  if (!out) return E_INVALIDARG;
  HANDLE copy = OleDuplicateData(medium.hBitmap, CF_BITMAP, 0);
  if (!copy) return E_HANDLE;
  out->tymed = TYMED_GDI;
  out->hBitmap = static_cast<HBITMAP>(copy);
  out->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT PictureDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT PictureDataObject::QueryGetData(FORMATETC*) { return E_NOTIMPL; }

HRESULT PictureDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) { return E_NOTIMPL; }

HRESULT PictureDataObject::SetData(FORMATETC* newFormat, STGMEDIUM* newMedium, BOOL) {
  if (!newFormat || !newMedium) return E_INVALIDARG;
  format = *newFormat;
  medium = *newMedium;
  return S_OK;
}

HRESULT PictureDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC**) { return E_NOTIMPL; }

HRESULT PictureDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return E_NOTIMPL; }

HRESULT PictureDataObject::DUnadvise(DWORD) { return E_NOTIMPL; }

HRESULT PictureDataObject::EnumDAdvise(IEnumSTATDATA**) { return E_NOTIMPL; }

void PictureDataObject::setBitmap(HBITMAP bitmap) {
  FORMATETC bitmapFormat = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
  STGMEDIUM bitmapMedium = {};
  bitmapMedium.tymed = TYMED_GDI;
  bitmapMedium.hBitmap = bitmap;
  bitmapMedium.pUnkForRelease = nullptr;
  SetData(&bitmapFormat, &bitmapMedium, FALSE);
}

IOleObject* PictureDataObject::createStaticObject(IOleClientSite* site, IStorage* storage) {
  IOleObject* object = nullptr;
  HRESULT result = OleCreateStaticFromData(this, IID_IOleObject, OLERENDER_FORMAT, &format, site,
                                           storage, reinterpret_cast<void**>(&object));
  return SUCCEEDED(result) ? object : nullptr;
}

namespace {

template <class T>
void releaseIf(T* object) {
  if (object) object->Release();
}

// The storage a new embedded object lives in: a docfile over bytes in memory.
bool makeStorage(ILockBytes** bytes, IStorage** storage) {
  *bytes = nullptr;
  *storage = nullptr;
  if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes)) || !*bytes) return false;
  DWORD mode = STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE;
  return SUCCEEDED(StgCreateDocfileOnILockBytes(*bytes, mode, 0, storage)) && *storage;
}

bool insertObject(IRichEditOle* ole, IOleObject* object, IStorage* storage, IOleClientSite* site) {
  REOBJECT record = {};
  record.cbStruct = sizeof(record);
  object->GetUserClassID(&record.clsid);
  record.cp = static_cast<LONG>(REO_CP_SELECTION);
  record.dvaspect = DVASPECT_CONTENT;
  record.poleobj = object;
  record.pstg = storage;
  record.polesite = site;
  record.dwFlags = REO_RESIZABLE;
  return SUCCEEDED(ole->InsertObject(&record));
}

}  // namespace

bool insertPicture(HWND hwnd, HBITMAP bitmap) {
  IRichEditOle* ole = nullptr;
  SendMessageA(hwnd, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
  if (!ole) return false;

  PictureDataObject* picture = new PictureDataObject();
  IDataObject* data = nullptr;
  picture->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
  picture->setBitmap(bitmap);

  IOleClientSite* site = nullptr;
  ole->GetClientSite(&site);
  ILockBytes* bytes = nullptr;
  IStorage* storage = nullptr;
  bool inserted = false;
  if (makeStorage(&bytes, &storage)) {
    IOleObject* object = picture->createStaticObject(site, storage);
    if (object) {
      OleSetContainedObject(object, TRUE);
      inserted = insertObject(ole, object, storage, site);
      object->Release();
    }
  }
  releaseIf(site);
  releaseIf(bytes);
  releaseIf(storage);
  ole->Release();
  data->Release();  // the picture object goes with its last reference
  return inserted;
}
