// Owning smart pointer for COM interfaces: Release on destruction, put() releases
// what was held before handing out the address, so an out parameter never leaks.
#pragma once
#include <windows.h>
#include <unknwn.h>

namespace fw {

// The one checked QueryInterface: E_POINTER without an object, and E_NOINTERFACE when
// the object answers success but gives no pointer, so that no caller goes on with null.
// *out is null whenever the result is a failure.
inline HRESULT queryInterface(IUnknown* from, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!from) return E_POINTER;
  HRESULT hr = from->QueryInterface(riid, out);
  if (FAILED(hr)) {
    *out = nullptr;  // a failure owns nothing, whatever the object left there
    return hr;
  }
  return *out ? hr : E_NOINTERFACE;
}

// A call that answers success must have filled the out pointer the caller goes on with:
// success with null takes the road of an interface that is not there.
inline HRESULT requireOut(HRESULT hr, const void* out) { return SUCCEEDED(hr) && !out ? E_NOINTERFACE : hr; }

template <class T>
class ComPtr {
 public:
  ComPtr() : p_(nullptr) {}
  ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }  // NOLINT: implicit like _com_ptr_t
  ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() { reset(); }

  ComPtr& operator=(const ComPtr& o) {
    if (o.p_) o.p_->AddRef();
    reset();
    p_ = o.p_;
    return *this;
  }
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) { reset(); p_ = o.p_; o.p_ = nullptr; }
    return *this;
  }
  ComPtr& operator=(T* p) {
    if (p) p->AddRef();
    reset();
    p_ = p;
    return *this;
  }

  // Takes over a reference that the caller already owns.
  void attach(T* p) { reset(); p_ = p; }
  T* detach() { T* p = p_; p_ = nullptr; return p; }
  void reset() { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }

  T** put() { reset(); return &p_; }
  void** put_void() { reset(); return reinterpret_cast<void**>(&p_); }
  IUnknown** put_unknown() { reset(); return reinterpret_cast<IUnknown**>(&p_); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // A new reference for an out parameter.
  HRESULT copyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }

  // QueryInterface of 'from' for riid into this pointer (see queryInterface).
  template <class U>
  HRESULT queryFrom(U* from, REFIID riid) {
    reset();
    return queryInterface(from, riid, reinterpret_cast<void**>(&p_));
  }

  // This object's interface riid into 'out' (see queryInterface).
  template <class U>
  HRESULT query(REFIID riid, ComPtr<U>& out) const {
    return out.queryFrom(p_, riid);
  }

 private:
  T* p_;
};

}  // namespace fw
