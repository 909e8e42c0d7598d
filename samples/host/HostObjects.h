// Objects A and B of the host's persistence error path: the context that the container
// gives from position 11 and the message log that the context gives from position 33.
#pragma once
#include "samples/common/SampleObject.h"

namespace txs {

class HostContext : public SampleDispatch<SampleHostContext, &IID_SampleHostContext>,
                    public fw::ObjectRoot,
                    public SampleIdentity {
 public:
  static const fw::InterfaceEntry* interfaceTable();
  // A new context; 'failures' are the container's (SampleHostFailure bits).
  static HRESULT create(DWORD failures, REFIID riid, void** out);

  STDMETHOD(Slot7)() override;
  STDMETHOD(Slot8)() override;
  STDMETHOD(Slot9)() override;
  STDMETHOD(Slot10)() override;
  STDMETHOD(Slot11)() override;
  STDMETHOD(Slot12)() override;
  STDMETHOD(Slot13)() override;
  STDMETHOD(Slot14)() override;
  STDMETHOD(Slot15)() override;
  STDMETHOD(Slot16)() override;
  STDMETHOD(Slot17)() override;
  STDMETHOD(Slot18)() override;
  STDMETHOD(Slot19)() override;
  STDMETHOD(Slot20)() override;
  STDMETHOD(Slot21)() override;
  STDMETHOD(Slot22)() override;
  STDMETHOD(Slot23)() override;
  STDMETHOD(Slot24)() override;
  STDMETHOD(Slot25)() override;
  STDMETHOD(Slot26)() override;
  STDMETHOD(Slot27)() override;
  STDMETHOD(Slot28)() override;
  STDMETHOD(Slot29)() override;
  STDMETHOD(Slot30)() override;
  STDMETHOD(Slot31)() override;
  STDMETHOD(Slot32)() override;
  STDMETHOD(GetMessageLog)(SampleMessageLog** log) override;

 private:
  HRESULT slot(int position);
  DWORD failures_ = 0;
};

class HostMessageLog : public SampleDispatch<SampleMessageLog, &IID_SampleMessageLog>,
                       public fw::ObjectRoot,
                       public SampleIdentity {
 public:
  static const fw::InterfaceEntry* interfaceTable();
  static HRESULT create(DWORD failures, SampleMessageLog** out);

  STDMETHOD(Slot7)() override;
  STDMETHOD(Slot8)() override;
  STDMETHOD(Slot9)() override;
  STDMETHOD(Slot10)() override;
  STDMETHOD(Slot11)() override;
  STDMETHOD(Slot12)() override;
  STDMETHOD(Slot13)() override;
  STDMETHOD(Slot14)() override;
  STDMETHOD(Slot15)() override;
  STDMETHOD(Slot16)() override;
  STDMETHOD(Slot17)() override;
  STDMETHOD(Slot18)() override;
  STDMETHOD(Slot19)() override;
  STDMETHOD(Slot20)() override;
  STDMETHOD(Prepare)(LONG flags) override;

 private:
  HRESULT slot(int position);
  DWORD failures_ = 0;
};

}  // namespace txs
