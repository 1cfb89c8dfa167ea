// Pictures in a rich edit through the OLE subset: a data object hands over a bitmap, a static
// object holds its image, the rich edit inserts it as one position.
#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"
#include "platform/tests/WindowTestKit.h"

using namespace windowtest;

namespace {

// A data object that hands out a copy of its bitmap, as the toolkit's does.
class BitmapData final : public IDataObject {
 public:
  explicit BitmapData(HBITMAP bitmap, bool fail = false) : bitmap_(bitmap), fail_(fail) {}
  HRESULT QueryInterface(REFIID riid, void** out) override {
    if (riid != IID_IUnknown && riid != IID_IDataObject) return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++count; }
  ULONG Release() override { return --count; }
  HRESULT GetData(FORMATETC*, STGMEDIUM* medium) override {
    if (fail_) return E_HANDLE;
    medium->tymed = TYMED_GDI;
    medium->hBitmap = static_cast<HBITMAP>(OleDuplicateData(bitmap_, CF_BITMAP, 0));
    medium->pUnkForRelease = nullptr;
    return medium->hBitmap ? S_OK : E_HANDLE;
  }
  // The rest is never asked for by a static picture.
  HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
  HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  ULONG count = 1;

 private:
  HBITMAP bitmap_;
  bool fail_;
};

class Ole : public ::testing::Test {
 protected:
  void SetUp() override {
    reset();
    top = makeTop(0, 0, 500, 300);
    ShowWindow(top, SW_SHOW);
    edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 400,
                           100, top, nullptr, nullptr, nullptr);
    bitmap = CreateCompatibleBitmap(nullptr, 8, 6);
  }
  void TearDown() override {
    DeleteObject(bitmap);
    closeTop(top);
  }
  // The toolkit's insertion sequence; the result of InsertObject, or the first failure.
  HRESULT insert(IDataObject* data) {
    IRichEditOle* ole = nullptr;
    if (!SendMessageA(edit, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)) || !ole)
      return E_FAIL;
    IOleClientSite* site = nullptr;
    ole->GetClientSite(&site);
    ILockBytes* bytes = nullptr;
    IStorage* storage = nullptr;
    HRESULT hr = CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes);
    if (SUCCEEDED(hr))
      hr = StgCreateDocfileOnILockBytes(bytes, STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE,
                                        0, &storage);
    IOleObject* object = nullptr;
    FORMATETC format{CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
    if (SUCCEEDED(hr)) {
      hr = OleCreateStaticFromData(data, IID_IOleObject, OLERENDER_FORMAT, &format, site, storage,
                                   reinterpret_cast<void**>(&object));
    }
    if (SUCCEEDED(hr)) {
      OleSetContainedObject(object, TRUE);
      REOBJECT re{};
      re.cbStruct = sizeof re;
      object->GetUserClassID(&re.clsid);
      re.cp = static_cast<LONG>(REO_CP_SELECTION);
      re.dvaspect = DVASPECT_CONTENT;
      re.poleobj = object;
      re.pstg = storage;
      re.polesite = site;
      re.dwFlags = REO_RESIZABLE;
      hr = ole->InsertObject(&re);
    }
    if (object) object->Release();
    if (site) site->Release();
    if (storage) storage->Release();
    if (bytes) bytes->Release();
    ole->Release();
    return hr;
  }
  std::string text() {
    char buffer[64] = {};
    TEXTRANGEA tr{{0, -1}, buffer};
    SendMessageA(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
    return buffer;
  }
  HWND top = nullptr;
  HWND edit = nullptr;
  HBITMAP bitmap = nullptr;
};

TEST_F(Ole, APictureGoesInAtTheSelectionAsOnePosition) {
  SetWindowTextA(edit,
                 "a\xc3\xa9"
                 "b");
  SendMessageA(edit, EM_SETSEL, 3, 3);
  BitmapData data(bitmap);
  EXPECT_EQ(insert(&data), S_OK);
  EXPECT_EQ(data.count, 1u);  // every reference taken was given back
  EXPECT_EQ(text(), "a\xc3\xa9 b");
  CHARRANGE caret{};
  SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(caret.cpMin, 4);  // after the picture
}

TEST_F(Ole, FailuresAreReportedNotInserted) {
  BitmapData failing(bitmap, true);
  EXPECT_EQ(insert(&failing), E_HANDLE);
  EXPECT_EQ(text(), "");
  IOleObject* object = reinterpret_cast<IOleObject*>(1);
  EXPECT_TRUE(FAILED(OleCreateStaticFromData(nullptr, IID_IOleObject, OLERENDER_FORMAT, nullptr,
                                             nullptr, nullptr, reinterpret_cast<void**>(&object))));
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(OleDuplicateData(bitmap, CF_TEXT, 0), nullptr);
  EXPECT_EQ(OleDuplicateData(nullptr, CF_BITMAP, 0), nullptr);
}

TEST_F(Ole, InterfacesAnswerOnlyWhatTheyAre) {
  IRichEditOle* ole = nullptr;
  ASSERT_TRUE(SendMessageA(edit, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)));
  void* other = nullptr;
  EXPECT_EQ(ole->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
  EXPECT_EQ(ole->QueryInterface(IID_IUnknown, &other), S_OK);
  static_cast<IUnknown*>(other)->Release();
  // A held interface outlives its window and then fails instead of touching freed memory.
  DestroyWindow(edit);
  vornplatform::processEventsFor(1);
  IOleClientSite* site = nullptr;
  EXPECT_TRUE(FAILED(ole->GetClientSite(&site)));
  REOBJECT re{};
  EXPECT_TRUE(FAILED(ole->InsertObject(&re)));
  ole->Release();
}

TEST_F(Ole, ReleasingAMediumDeletesItsBitmap) {
  STGMEDIUM medium{};
  medium.tymed = TYMED_GDI;
  medium.hBitmap = static_cast<HBITMAP>(OleDuplicateData(bitmap, CF_BITMAP, 0));
  HBITMAP copy = medium.hBitmap;
  ASSERT_TRUE(copy != nullptr && copy != bitmap);
  ReleaseStgMedium(&medium);
  EXPECT_FALSE(DeleteObject(copy));  // already gone
}

}  // namespace
