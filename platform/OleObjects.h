// The layer's COM objects for rich-edit pictures: a reference-counted base and the static
// picture object that OleCreateStaticFromData makes. Internal to platform/.
#pragma once

#include <QImage>
#include <atomic>

#include "platform/win32_ole.h"

namespace vornplatform {

// Reference counting and QueryInterface over a list of interface ids; T is the interface.
template <class T>
class ComObject : public T {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!answers(riid)) return E_NOINTERFACE;
    *object = static_cast<T*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --count_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual bool answers(REFIID riid) const = 0;
  virtual ~ComObject() = default;

 private:
  std::atomic<ULONG> count_{1};
};

// The image of a static picture made by OleCreateStaticFromData; false for other objects.
bool staticPictureImage(IUnknown* object, QImage* image);

}  // namespace vornplatform
