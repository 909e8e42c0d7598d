// The host simulator's container, as this DLL reaches it: a dual interface of which only
// a few entries are called, by their position in the table of functions (counted from 0
// at QueryInterface). The reserved entries hold those positions; the host's own methods
// there are never called, so their arguments are not declared. Moving any entry changes
// which host method runs.
#pragma once
#include <windows.h>
#include <oaidl.h>

// {75E757C4-3D1B-11D2-B25C-00A0C92300B5}: the container as the host hands it to
// components of every category but unit operations.
inline constexpr IID IID_ExtnContainer = {0x75E757C4, 0x3D1B, 0x11D2, {0xB2, 0x5C, 0x00, 0xA0, 0xC9, 0x23, 0x00, 0xB5}};
// {EC8D1CB0-C363-11D2-9ED5-00A0C90064D4}: the same container for unit operations.
inline constexpr IID IID_ExtnContainerUnit = {
    0xEC8D1CB0, 0xC363, 0x11D2, {0x9E, 0xD5, 0x00, 0xA0, 0xC9, 0x00, 0x64, 0xD4}};

// Storage modes passed to GetStorage.
enum ExtnStorageMode : long {
  extnStorageLoad = 0x10,  // STGM_READ | STGM_SHARE_EXCLUSIVE
  extnStorageSave = 0x12,  // STGM_READWRITE | STGM_SHARE_EXCLUSIVE
};

// Object B of the persistence error path: the host's message log.
struct ExtnMessageLog : public IDispatch {
  STDMETHOD(Reserved7)() PURE;   // 7
  STDMETHOD(Reserved8)() PURE;   // 8
  STDMETHOD(Reserved9)() PURE;   // 9
  STDMETHOD(Reserved10)() PURE;  // 10
  STDMETHOD(Reserved11)() PURE;  // 11
  STDMETHOD(Reserved12)() PURE;  // 12
  STDMETHOD(Reserved13)() PURE;  // 13
  STDMETHOD(Reserved14)() PURE;  // 14
  STDMETHOD(Reserved15)() PURE;  // 15
  STDMETHOD(Reserved16)() PURE;  // 16
  STDMETHOD(Reserved17)() PURE;  // 17
  STDMETHOD(Reserved18)() PURE;  // 18
  STDMETHOD(Reserved19)() PURE;  // 19
  STDMETHOD(Reserved20)() PURE;  // 20
  // 21: readies the log for the message that follows; called with 0.
  STDMETHOD(Prepare)(long flags) PURE;
};

// Object A of the persistence error path: the host's context, which gives the log.
struct ExtnHostContext : public IDispatch {
  STDMETHOD(Reserved7)() PURE;   // 7
  STDMETHOD(Reserved8)() PURE;   // 8
  STDMETHOD(Reserved9)() PURE;   // 9
  STDMETHOD(Reserved10)() PURE;  // 10
  STDMETHOD(Reserved11)() PURE;  // 11
  STDMETHOD(Reserved12)() PURE;  // 12
  STDMETHOD(Reserved13)() PURE;  // 13
  STDMETHOD(Reserved14)() PURE;  // 14
  STDMETHOD(Reserved15)() PURE;  // 15
  STDMETHOD(Reserved16)() PURE;  // 16
  STDMETHOD(Reserved17)() PURE;  // 17
  STDMETHOD(Reserved18)() PURE;  // 18
  STDMETHOD(Reserved19)() PURE;  // 19
  STDMETHOD(Reserved20)() PURE;  // 20
  STDMETHOD(Reserved21)() PURE;  // 21
  STDMETHOD(Reserved22)() PURE;  // 22
  STDMETHOD(Reserved23)() PURE;  // 23
  STDMETHOD(Reserved24)() PURE;  // 24
  STDMETHOD(Reserved25)() PURE;  // 25
  STDMETHOD(Reserved26)() PURE;  // 26
  STDMETHOD(Reserved27)() PURE;  // 27
  STDMETHOD(Reserved28)() PURE;  // 28
  STDMETHOD(Reserved29)() PURE;  // 29
  STDMETHOD(Reserved30)() PURE;  // 30
  STDMETHOD(Reserved31)() PURE;  // 31
  STDMETHOD(Reserved32)() PURE;  // 32
  // 33: the message log (object B), a new reference.
  STDMETHOD(GetMessageLog)(ExtnMessageLog** log) PURE;
};

// The container of one component in the host's case.
MIDL_INTERFACE("75E757C4-3D1B-11D2-B25C-00A0C92300B5")
ExtnContainer : public IDispatch {
  STDMETHOD(Reserved7)() PURE;   // 7
  STDMETHOD(Reserved8)() PURE;   // 8
  STDMETHOD(Reserved9)() PURE;   // 9
  STDMETHOD(Reserved10)() PURE;  // 10
  // 11: the host's context (object A), a new reference.
  STDMETHOD(GetHostContext)(ExtnHostContext** context) PURE;
  // 12: hands a persistence error message to the host, which shows or records it;
  // flags is 0.
  STDMETHOD(AddMessage)(BSTR message, long flags) PURE;
  STDMETHOD(Reserved13)() PURE;  // 13
  STDMETHOD(Reserved14)() PURE;  // 14
  STDMETHOD(Reserved15)() PURE;  // 15
  STDMETHOD(Reserved16)() PURE;  // 16
  STDMETHOD(Reserved17)() PURE;  // 17
  STDMETHOD(Reserved18)() PURE;  // 18
  STDMETHOD(Reserved19)() PURE;  // 19
  // 20: the component's storage for 'mode' (ExtnStorageMode); the object comes back in
  // the VARIANT's punkVal and answers IStorage.
  STDMETHOD(GetStorage)(long mode, VARIANT* storage) PURE;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(ExtnContainer, 0x75E757C4, 0x3D1B, 0x11D2, 0xB2, 0x5C, 0x00, 0xA0, 0xC9, 0x23, 0x00, 0xB5)
#endif
