// The small part of COM and OLE that pictures in a rich edit need: interfaces as abstract
// classes in their binary method order, interface ids, result codes and the OLE helpers.
#pragma once

#include "platform/win32_window.h"

#define STDMETHODCALLTYPE
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define S_OK ((HRESULT)0L)
#define S_FALSE ((HRESULT)1L)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_HANDLE ((HRESULT)0x80070006L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define DV_E_FORMATETC ((HRESULT)0x80040064L)

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef CLSID* LPCLSID;

inline bool IsEqualGUID(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return false;
  }
  return true;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)
inline bool operator==(const GUID& a, const GUID& b) { return IsEqualGUID(a, b); }
inline bool operator!=(const GUID& a, const GUID& b) { return !IsEqualGUID(a, b); }

inline const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline const IID IID_ILockBytes = {0x0000000A, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline const IID IID_IStorage = {0x0000000B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline const IID IID_IDataObject = {0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline const IID IID_IOleObject = {0x00000112, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline const IID IID_IOleClientSite = {0x00000118, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline const IID IID_IRichEditOle = {0x00020D00, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline const CLSID CLSID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

typedef WORD CLIPFORMAT;
typedef char* LPOLESTR;
typedef const char* LPCOLESTR;

// Clipboard formats, media, aspects, render options, storage modes.
#define CF_TEXT 1
#define CF_BITMAP 2
#define TYMED_NULL 0
#define TYMED_HGLOBAL 1
#define TYMED_FILE 2
#define TYMED_ISTREAM 4
#define TYMED_ISTORAGE 8
#define TYMED_GDI 16
#define DVASPECT_CONTENT 1
#define OLERENDER_NONE 0
#define OLERENDER_DRAW 1
#define OLERENDER_FORMAT 2
#define STGM_READWRITE 0x00000002L
#define STGM_SHARE_EXCLUSIVE 0x00000010L
#define STGM_CREATE 0x00001000L
#define REO_CP_SELECTION ((ULONG)-1L)
#define REO_RESIZABLE 0x00000001L

// Types that appear only in signatures we never call.
struct DVTARGETDEVICE;
struct IEnumFORMATETC;
struct IAdviseSink;
struct IEnumSTATDATA;
struct IMoniker;
struct IOleContainer;
struct IEnumOLEVERB;
struct IStream;
struct IEnumSTATSTG;
struct STATSTG;
struct LOGPALETTE;
struct FILETIME;

struct FORMATETC {
  CLIPFORMAT cfFormat;
  DVTARGETDEVICE* ptd;
  DWORD dwAspect;
  LONG lindex;
  DWORD tymed;
};
typedef FORMATETC* LPFORMATETC;

class IUnknown;
class IStorage;

struct STGMEDIUM {
  DWORD tymed;
  union {
    HBITMAP hBitmap;
    HANDLE hMetaFilePict;
    HANDLE hEnhMetaFile;
    HGLOBAL hGlobal;
    LPOLESTR lpszFileName;
    IStream* pstm;
    IStorage* pstg;
  };
  IUnknown* pUnkForRelease;
};
typedef STGMEDIUM* LPSTGMEDIUM;

class IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;  // objects go away through Release
};
typedef IUnknown* LPUNKNOWN;

class IDataObject : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                            DWORD* connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) = 0;

 protected:
  ~IDataObject() = default;
};
typedef IDataObject* LPDATAOBJECT;

class IOleClientSite : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE SaveObject() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE ShowObject() = 0;
  virtual HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) = 0;
  virtual HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() = 0;

 protected:
  ~IOleClientSite() = default;
};
typedef IOleClientSite* LPOLECLIENTSITE;

class IOleObject : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation,
                                                 DWORD reserved) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, MSG* msg, IOleClientSite* site, LONG index,
                                           HWND parent, const RECT* rect) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE Update() = 0;
  virtual HRESULT STDMETHODCALLTYPE IsUpToDate() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) = 0;

 protected:
  ~IOleObject() = default;
};
typedef IOleObject* LPOLEOBJECT;

class ILockBytes : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE ReadAt(ULONGLONG offset, void* buffer, ULONG size,
                                           ULONG* read) = 0;
  virtual HRESULT STDMETHODCALLTYPE WriteAt(ULONGLONG offset, const void* buffer, ULONG size,
                                            ULONG* written) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSize(ULONGLONG size) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockRegion(ULONGLONG offset, ULONGLONG size, DWORD type) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULONGLONG offset, ULONGLONG size, DWORD type) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) = 0;

 protected:
  ~ILockBytes() = default;
};
typedef ILockBytes* LPLOCKBYTES;

class IStorage : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE CreateStream(LPCOLESTR name, DWORD mode, DWORD reserved1,
                                                 DWORD reserved2, IStream** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenStream(LPCOLESTR name, void* reserved1, DWORD mode,
                                               DWORD reserved2, IStream** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateStorage(LPCOLESTR name, DWORD mode, DWORD reserved1,
                                                  DWORD reserved2, IStorage** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenStorage(LPCOLESTR name, IStorage* priority, DWORD mode,
                                                char** exclude, DWORD reserved, IStorage** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyTo(DWORD excludeCount, const IID* exclude, char** names,
                                           IStorage* destination) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveElementTo(LPCOLESTR name, IStorage* destination,
                                                  LPCOLESTR newName, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Commit(DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumElements(DWORD reserved1, void* reserved2, DWORD reserved3,
                                                 IEnumSTATSTG** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE DestroyElement(LPCOLESTR name) = 0;
  virtual HRESULT STDMETHODCALLTYPE RenameElement(LPCOLESTR oldName, LPCOLESTR newName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetElementTimes(LPCOLESTR name, const FILETIME* created,
                                                    const FILETIME* accessed,
                                                    const FILETIME* modified) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStateBits(DWORD bits, DWORD mask) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) = 0;

 protected:
  ~IStorage() = default;
};
typedef IStorage* LPSTORAGE;

// An embedded object as the rich edit reports and takes it.
struct REOBJECT {
  DWORD cbStruct;  // sizeof(REOBJECT)
  LONG cp;         // character position, or REO_CP_SELECTION
  CLSID clsid;
  IOleObject* poleobj;
  IStorage* pstg;
  IOleClientSite* polesite;
  SIZEL sizel;
  DWORD dvaspect;
  DWORD dwFlags;
  DWORD dwUser;
};

// What EM_GETOLEINTERFACE hands out (an added reference). Only the methods up to
// InsertObject are available.
class IRichEditOle : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) = 0;
  virtual LONG STDMETHODCALLTYPE GetObjectCount() = 0;
  virtual LONG STDMETHODCALLTYPE GetLinkCount() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetObject(LONG index, REOBJECT* object, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE InsertObject(REOBJECT* object) = 0;

 protected:
  ~IRichEditOle() = default;
};
typedef IRichEditOle* LPRICHEDITOLE;

// In-memory byte array and a storage over it (neither holds real data).
VORNAPI HRESULT CreateILockBytesOnHGlobal(HGLOBAL global, BOOL deleteOnRelease, ILockBytes** out);
VORNAPI HRESULT StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD mode, DWORD reserved,
                                             IStorage** out);
// Asks data for CF_BITMAP/TYMED_GDI and makes a static picture object holding a copy.
VORNAPI HRESULT OleCreateStaticFromData(IDataObject* data, REFIID iid, DWORD render,
                                        FORMATETC* format, IOleClientSite* site, IStorage* storage,
                                        void** out);
VORNAPI HRESULT OleSetContainedObject(IUnknown* object, BOOL contained);
// CF_BITMAP: a new bitmap with a copy of the source's pixels; null for anything else.
VORNAPI HANDLE OleDuplicateData(HANDLE source, CLIPFORMAT format, UINT flags);
// Frees what the medium holds (the bitmap of TYMED_GDI) or hands it to pUnkForRelease.
VORNAPI void ReleaseStgMedium(STGMEDIUM* medium);
