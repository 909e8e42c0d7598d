// A unit operation: the CAPE-OPEN 1.0 unit interface, ICapeUtilities and
// ICapeIdentification as its UnitTraits offers them, and one of the COM persistence kinds,
// which write and read the text and number of ISampleData. Faults of the zoo make a
// persistence method or Terminate fail.
#pragma once
#include <objidl.h>
#include <ocidl.h>
#include "samples/common/SampleComponent.h"
#include "samples/common/SampleHooks.h"
#include "samples/common/SampleObject.h"

namespace txs {

enum class PersistKind { None, Storage, Stream, StreamInit, StorageAndStreamInit };
enum class PersistFault { None, InitNewFails, LoadFails, SaveFails, Quirk800A02E1 };

struct UnitTraits {
  const ClassInfo* info;
  bool unit10;     // offers ICapeUnit (the 1.0 unit interface)
  bool utilities;  // offers ICapeUtilities, ICapeIdentification and ISupportErrorInfo
  PersistKind persist;
  PersistFault fault;
  bool terminateFails;
};

class SampleUnit : public SampleDispatch<ICapeUnit, &IID_ICapeUnit>,
                   public SampleComponent<SampleUnit>,
                   public IPersistStorage,
                   public IPersistStreamInit,
                   public IPersistStream,
                   public ISampleData,
                   public SupportErrorInfo,
                   public fw::ObjectRoot,
                   public SampleIdentity {
 public:
  // The interfaces that 'traits' offers, ended by a null entry (at most kMaxEntries).
  static constexpr int kMaxEntries = 14;
  static void buildTable(const UnitTraits& traits, fw::InterfaceEntry* table);
  void setup(const UnitTraits& traits);

  // ICapeUnit
  STDMETHOD(get_ports)(IDispatch** ports) override;
  STDMETHOD(get_ValStatus)(LONG* status) override;
  STDMETHOD(Calculate)() override;
  STDMETHOD(Validate)(BSTR* message, LONG* isValid) override;

  // IPersist, IPersistStorage, IPersistStream, IPersistStreamInit
  STDMETHOD(GetClassID)(CLSID* clsid) override;
  STDMETHOD(IsDirty)() override;
  STDMETHOD(InitNew)(IStorage* storage) override;
  STDMETHOD(Load)(IStorage* storage) override;
  STDMETHOD(Save)(IStorage* storage, BOOL sameAsLoad) override;
  STDMETHOD(SaveCompleted)(IStorage* storage) override;
  STDMETHOD(HandsOffStorage)() override;
  STDMETHOD(Load)(IStream* stream) override;
  STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;
  STDMETHOD(GetSizeMax)(ULARGE_INTEGER* size) override;
  STDMETHOD(InitNew)() override;

  // ISampleData
  STDMETHOD(SetData)(LPCWSTR text, double number) override;
  STDMETHOD(GetData)(BSTR* text, double* number) override;

 private:
  HRESULT initNew(REFIID iid);
  HRESULT readRecord(IStream* stream, REFIID iid);
  HRESULT writeRecord(IStream* stream);
  // The persistence interface through which a stream method was reached.
  REFIID streamIid() const;

  const UnitTraits* traits_ = nullptr;
  std::wstring text_;
  double number_ = 0;
  bool dirty_ = false;
};

template <const UnitTraits* Traits>
class RegisteredUnit : public SampleUnit {
 public:
  static const fw::InterfaceEntry* interfaceTable() {
    static const TableHolder holder;
    return holder.table;
  }
  HRESULT FinalConstruct() {
    return setUpOrNoMemory([this] { setup(*Traits); });
  }

 private:
  struct TableHolder {
    TableHolder() { buildTable(*Traits, table); }
    fw::InterfaceEntry table[kMaxEntries];
  };
};

}  // namespace txs
