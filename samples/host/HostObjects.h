// Objects A and B of the host's persistence error path: the context that the container
// gives from position 11 and the message log that the context gives from position 33.
#pragma once
#include <string>
#include "samples/common/SampleObject.h"

namespace txs {

// What objects A and B share: interface I over the samples' type library (also as
// IDispatch), the placeholder methods up to position 20, which log their position and
// answer E_NOTIMPL, and the container's failures (SampleHostFailure bits).
// Declares no virtual function of its own, so I's methods keep their slots.
template <class Derived, class I, const IID* piid>
class HostObject : public SampleDispatch<I, piid>, public fw::ObjectRoot, public SampleIdentity {
 public:
  static const fw::InterfaceEntry* interfaceTable() {
    static const fw::InterfaceEntry table[] = {{piid, fw::interfaceOffset<Derived, I>()},
                                               {&IID_IDispatch, fw::interfaceOffset<Derived, I>()},
                                               {nullptr, 0}};
    return table;
  }

  STDMETHOD(Slot7)() override { return slot(7); }
  STDMETHOD(Slot8)() override { return slot(8); }
  STDMETHOD(Slot9)() override { return slot(9); }
  STDMETHOD(Slot10)() override { return slot(10); }
  STDMETHOD(Slot11)() override { return slot(11); }
  STDMETHOD(Slot12)() override { return slot(12); }
  STDMETHOD(Slot13)() override { return slot(13); }
  STDMETHOD(Slot14)() override { return slot(14); }
  STDMETHOD(Slot15)() override { return slot(15); }
  STDMETHOD(Slot16)() override { return slot(16); }
  STDMETHOD(Slot17)() override { return slot(17); }
  STDMETHOD(Slot18)() override { return slot(18); }
  STDMETHOD(Slot19)() override { return slot(19); }
  STDMETHOD(Slot20)() override { return slot(20); }

 protected:
  // A new object named 'logName' in the call log, asked for 'riid'.
  static HRESULT make(const char* logName, DWORD failures, REFIID riid, void** out) {
    return createObjectAs<Derived>(
        [&](Derived& object) {
          object.setLogName(logName);
          object.failures_ = failures;
        },
        riid, out);
  }

  HRESULT slot(int position) const {
    try {
      log(("Slot" + std::to_string(position)).c_str());
    } catch (...) {
    }
    return E_NOTIMPL;
  }

  DWORD failures_ = 0;
};

class HostContext : public HostObject<HostContext, SampleHostContext, &IID_SampleHostContext> {
 public:
  // A new context; 'failures' are the container's.
  static HRESULT create(DWORD failures, REFIID riid, void** out);

  STDMETHOD(Slot21)() override { return slot(21); }
  STDMETHOD(Slot22)() override { return slot(22); }
  STDMETHOD(Slot23)() override { return slot(23); }
  STDMETHOD(Slot24)() override { return slot(24); }
  STDMETHOD(Slot25)() override { return slot(25); }
  STDMETHOD(Slot26)() override { return slot(26); }
  STDMETHOD(Slot27)() override { return slot(27); }
  STDMETHOD(Slot28)() override { return slot(28); }
  STDMETHOD(Slot29)() override { return slot(29); }
  STDMETHOD(Slot30)() override { return slot(30); }
  STDMETHOD(Slot31)() override { return slot(31); }
  STDMETHOD(Slot32)() override { return slot(32); }
  STDMETHOD(GetMessageLog)(SampleMessageLog** log) override;
};

class HostMessageLog : public HostObject<HostMessageLog, SampleMessageLog, &IID_SampleMessageLog> {
 public:
  static HRESULT create(DWORD failures, SampleMessageLog** out);

  STDMETHOD(Prepare)(LONG flags) override;
};

}  // namespace txs
