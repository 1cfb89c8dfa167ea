// The smallest data object that hands one bitmap to a rich edit's OLE interface, and the
// insertion of a bitmap as a static picture at a rich edit's selection.
#pragma once

#include "platform/win32.h"

class PictureDataObject final : public IDataObject {
 public:
  // Starts with no references; the first QueryInterface takes one, the last Release deletes.
  PictureDataObject();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // A copy of the bitmap (the receiver frees it), or E_HANDLE when it cannot be copied.
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  // Keeps copies of the format and the medium record (the bitmap stays the caller's).
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                    DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override;

  // The bitmap the object hands out; the caller keeps owning it.
  void setBitmap(HBITMAP bitmap);
  // A static picture object made from the bitmap in the storage; null on failure.
  IOleObject* createStaticObject(IOleClientSite* site, IStorage* storage);

  PictureDataObject(const PictureDataObject&) = delete;
  PictureDataObject& operator=(const PictureDataObject&) = delete;

 private:
  ~PictureDataObject() = default;

  ULONG refCount;
  STGMEDIUM medium;
  FORMATETC format;
};

// Inserts the bitmap as a picture (one text position) at the selection of the rich-edit
// window; true when it went in. The bitmap stays the caller's.
bool insertPicture(HWND hwnd, HBITMAP bitmap);
