// Owners for the Win32 and OLE resources that are not COM interfaces.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <objbase.h>
#include <cstdio>

namespace fw {

// Registry key.
class UniqueHKey {
 public:
  UniqueHKey() : h_(nullptr) {}
  explicit UniqueHKey(HKEY h) : h_(h) {}
  ~UniqueHKey() { reset(); }
  UniqueHKey(const UniqueHKey&) = delete;
  UniqueHKey& operator=(const UniqueHKey&) = delete;
  UniqueHKey(UniqueHKey&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  UniqueHKey& operator=(UniqueHKey&& o) noexcept { if (this != &o) { reset(); h_ = o.h_; o.h_ = nullptr; } return *this; }
  void reset() { if (h_) { RegCloseKey(h_); h_ = nullptr; } }
  HKEY* put() { reset(); return &h_; }
  HKEY get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
 private:
  HKEY h_;
};

// Kernel handle (file, process, event ...); INVALID_HANDLE_VALUE counts as none.
class UniqueHandle {
 public:
  UniqueHandle() : h_(nullptr) {}
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  void reset() { if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_); h_ = nullptr; }
  HANDLE get() const { return h_; }
  HANDLE* put() { reset(); return &h_; }
  explicit operator bool() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
 private:
  HANDLE h_;
};

// C runtime file.
class UniqueFile {
 public:
  UniqueFile() : f_(nullptr) {}
  explicit UniqueFile(FILE* f) : f_(f) {}
  ~UniqueFile() { close(); }
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;
  // Returns fclose's result (0 on success); 0 when nothing was open.
  int close() { int r = 0; if (f_) { r = fclose(f_); f_ = nullptr; } return r; }
  void reset(FILE* f) { close(); f_ = f; }
  FILE* get() const { return f_; }
  explicit operator bool() const { return f_ != nullptr; }
 private:
  FILE* f_;
};

// Memory from CoTaskMemAlloc (ProgIDFromCLSID and the like).
template <class T>
class CoTaskMem {
 public:
  CoTaskMem() : p_(nullptr) {}
  ~CoTaskMem() { CoTaskMemFree(p_); }
  CoTaskMem(const CoTaskMem&) = delete;
  CoTaskMem& operator=(const CoTaskMem&) = delete;
  T** put() { CoTaskMemFree(p_); p_ = nullptr; return &p_; }
  T* get() const { return p_; }
 private:
  T* p_;
};

// SAFEARRAY owned by the holder.
class UniqueSafeArray {
 public:
  UniqueSafeArray() : p_(nullptr) {}
  explicit UniqueSafeArray(SAFEARRAY* p) : p_(p) {}
  ~UniqueSafeArray() { reset(); }
  UniqueSafeArray(const UniqueSafeArray&) = delete;
  UniqueSafeArray& operator=(const UniqueSafeArray&) = delete;
  void reset(SAFEARRAY* p = nullptr) { if (p_) SafeArrayDestroy(p_); p_ = p; }
  SAFEARRAY* detach() { SAFEARRAY* p = p_; p_ = nullptr; return p; }
  SAFEARRAY* get() const { return p_; }
 private:
  SAFEARRAY* p_;
};

// Memory from LocalAlloc (FormatMessage's FORMAT_MESSAGE_ALLOCATE_BUFFER).
template <class T>
class LocalMem {
 public:
  LocalMem() : p_(nullptr) {}
  ~LocalMem() { if (p_) LocalFree(p_); }
  LocalMem(const LocalMem&) = delete;
  LocalMem& operator=(const LocalMem&) = delete;
  T** put() { if (p_) LocalFree(p_); p_ = nullptr; return &p_; }
  T* get() const { return p_; }
 private:
  T* p_;
};

// A module loaded by LoadLibrary.
class UniqueModule {
 public:
  explicit UniqueModule(HMODULE h = nullptr) : h_(h) {}
  ~UniqueModule() { if (h_) FreeLibrary(h_); }
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;
  HMODULE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
 private:
  HMODULE h_;
};

// A GDI object (font, brush, bitmap ...).
template <class H>
class UniqueGdi {
 public:
  explicit UniqueGdi(H h = nullptr) : h_(h) {}
  ~UniqueGdi() { reset(); }
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;
  void reset(H h = nullptr) { if (h_) DeleteObject(h_); h_ = h; }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
 private:
  H h_;
};

// BSTR freed on destruction; release() hands it to an out parameter.
class UniqueBstr {
 public:
  UniqueBstr() : p_(nullptr) {}
  explicit UniqueBstr(BSTR p) : p_(p) {}
  ~UniqueBstr() { SysFreeString(p_); }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  BSTR* put() { SysFreeString(p_); p_ = nullptr; return &p_; }
  BSTR release() { BSTR p = p_; p_ = nullptr; return p; }
  BSTR get() const { return p_; }
 private:
  BSTR p_;
};

// VARIANT cleared on destruction.
class UniqueVariant {
 public:
  UniqueVariant() { VariantInit(&v_); }
  ~UniqueVariant() { VariantClear(&v_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  VARIANT* put() { VariantClear(&v_); return &v_; }
  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }
 private:
  VARIANT v_;
};

// Window destroyed on destruction (test and helper windows).
class UniqueWindow {
 public:
  UniqueWindow() : h_(nullptr) {}
  explicit UniqueWindow(HWND h) : h_(h) {}
  ~UniqueWindow() { if (h_ && IsWindow(h_)) DestroyWindow(h_); }
  UniqueWindow(const UniqueWindow&) = delete;
  UniqueWindow& operator=(const UniqueWindow&) = delete;
  HWND get() const { return h_; }
 private:
  HWND h_;
};

// COM initialised for the life of the holder (apartment threaded).
class ComInit {
 public:
  ComInit() : hr_(CoInitialize(nullptr)) {}
  ~ComInit() { if (SUCCEEDED(hr_)) CoUninitialize(); }
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
  HRESULT result() const { return hr_; }
 private:
  HRESULT hr_;
};

}  // namespace fw
