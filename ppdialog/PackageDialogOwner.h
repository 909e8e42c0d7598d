// What the property package dialog needs of the object that owns it: the parent ProgID
// (for the maker-system check), the host's flash types, and the two buttons that call
// back into the owner.
#pragma once
#include <windows.h>
#include <oaidl.h>

class PackageDialogOwner {
 public:
  // A new BSTR with the parent ProgID (null when there is none).
  virtual HRESULT readParentProgId(BSTR* progId) = 0;
  virtual const VARIANT& phaseTypes() const = 0;
  // "Browse Static Information": the Component Manager shows the registered values.
  virtual HRESULT browseStaticInformation() = 0;
  // "Custom View": the package's own window, or a message that it has none.
  virtual HRESULT ShowCustomView() = 0;

 protected:
  virtual ~PackageDialogOwner() {}
};
