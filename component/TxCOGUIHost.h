// What a host in C++ needs beside TxCOGUI.h to drive a CCAPEGUI object in process.
#ifndef TXCOGUIHOST_H
#define TXCOGUIHOST_H
#include "TxCOGUI.h"

// ICCAPEGUI with the one method that the type library does not list: setFilter, entry 52 of
// the table of functions (after IUnknown's 3, IDispatch's 4 and ICCAPEGUI's 45), which sets
// the categoryFilter bits that setup also sets. It is reached through the same pointer as
// ICCAPEGUI, with no QueryInterface (the object answers none for it), and never through
// IDispatch:
//   static_cast<ICCAPEGUIWithFilter*>(gui)->setFilter(catf_UnitOperation);
struct ICCAPEGUIWithFilter : public ICCAPEGUI {
  virtual HRESULT STDMETHODCALLTYPE setFilter(long filter) = 0;
};

#endif
