// The host's container, as TxCOGUI.dll calls it. The host implements ExtnContainer, answers
// QueryInterface for IID_ExtnContainerUnit (when setup's filter has catf_UnitOperation) or
// IID_ExtnContainer (every other filter), and hands it to ICCAPEGUI::setup; the DLL keeps
// it until releaseComponents.
//
// The DLL calls only a few entries, by their position in the table of functions (counted
// from 0 at QueryInterface): the container's 11, 12 and 20, the host context's 33 and the
// message log's 21. The Reserved entries hold those positions; the DLL never calls them (a
// host answers E_NOTIMPL there), so their arguments are not declared. Moving any entry
// changes which host method runs. Every call comes on the thread that called the
// ICCAPEGUI method.
#ifndef EXTNCONTAINER_H
#define EXTNCONTAINER_H
#include <windows.h>
#include <oaidl.h>

// {75E757C4-3D1B-11D2-B25C-00A0C92300B5}: the container as the host hands it to
// components of every category but unit operations.
static const IID IID_ExtnContainer = {0x75E757C4, 0x3D1B, 0x11D2, {0xB2, 0x5C, 0x00, 0xA0, 0xC9, 0x23, 0x00, 0xB5}};
// {EC8D1CB0-C363-11D2-9ED5-00A0C90064D4}: the same container for unit operations.
static const IID IID_ExtnContainerUnit = {
    0xEC8D1CB0, 0xC363, 0x11D2, {0x9E, 0xD5, 0x00, 0xA0, 0xC9, 0x00, 0x64, 0xD4}};

// Storage modes passed to GetStorage.
enum ExtnStorageMode : long {
  extnStorageLoad = 0x10,  // STGM_READ | STGM_SHARE_EXCLUSIVE
  extnStorageSave = 0x12,  // STGM_READWRITE | STGM_SHARE_EXCLUSIVE
};

// The host's message log, reached through ExtnHostContext when a persistence error is
// reported: the DLL calls Prepare, releases the log, then calls ExtnContainer::AddMessage.
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

// The host's context, which gives the message log.
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
  // 33: the message log, a new reference.
  STDMETHOD(GetMessageLog)(ExtnMessageLog** log) PURE;
};

// The container of one component in the host's case.
MIDL_INTERFACE("75E757C4-3D1B-11D2-B25C-00A0C92300B5")
ExtnContainer : public IDispatch {
  STDMETHOD(Reserved7)() PURE;   // 7
  STDMETHOD(Reserved8)() PURE;   // 8
  STDMETHOD(Reserved9)() PURE;   // 9
  STDMETHOD(Reserved10)() PURE;  // 10
  // 11: the host's context, a new reference; called only to report a persistence error.
  // A failure here (E_NOTIMPL included) ends that report: the DLL then shows the failed call
  // in a message box, and AddMessage is not called.
  STDMETHOD(GetHostContext)(ExtnHostContext** context) PURE;
  // 12: a persistence error message for the host to show or record (saving or loading the
  // component failed); flags is 0. The BSTR stays the DLL's: a host that keeps it copies it.
  STDMETHOD(AddMessage)(BSTR message, long flags) PURE;
  STDMETHOD(Reserved13)() PURE;  // 13
  STDMETHOD(Reserved14)() PURE;  // 14
  STDMETHOD(Reserved15)() PURE;  // 15
  STDMETHOD(Reserved16)() PURE;  // 16
  STDMETHOD(Reserved17)() PURE;  // 17
  STDMETHOD(Reserved18)() PURE;  // 18
  STDMETHOD(Reserved19)() PURE;  // 19
  // 20: the component's own storage in the host's case, for 'mode' (ExtnStorageMode): open
  // for writing to save (the host creates it when missing), for reading to load and to
  // initialise a new component. The host puts a new reference to an object that answers
  // IStorage in the VARIANT (VT_UNKNOWN, punkVal); the DLL clears the VARIANT when the
  // component is done with the storage.
  STDMETHOD(GetStorage)(long mode, VARIANT* storage) PURE;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(ExtnContainer, 0x75E757C4, 0x3D1B, 0x11D2, 0xB2, 0x5C, 0x00, 0xA0, 0xC9, 0x23, 0x00, 0xB5)
#endif

#endif
