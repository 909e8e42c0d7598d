// The host's road through ICCAPEGUI that several commands share: set up, name the
// component, create it; and what the DLL said on the way.
#pragma once
#include <string>
#include <vector>
#include "cohost/Session.h"

struct CreatedComponent {
  HRESULT result = E_FAIL;
  fw::ComPtr<IDispatch> component;
  fw::ComPtr<IDispatch> parent;
  long capeVersion = 0;  // as the registration declares it (compCOversion)
  long persistType = 0;
  Json toJson() const;
};

// "'<progId>' [of '<parent>'] is not registered as a CAPE-OPEN component".
std::string notRegisteredText(const std::string& progId, const std::string& parentProgId);

// "none", "IPersistStorage", "IPersistStream", "IPersistStreamInit".
const char* persistKindName(long kind);

class ProductRoad {
 public:
  explicit ProductRoad(Session& session, IDispatch* container = nullptr);
  ~ProductRoad();
  ProductRoad(const ProductRoad&) = delete;
  ProductRoad& operator=(const ProductRoad&) = delete;

  // setup (the console as host window, 'container', 'filter'), setProgIds, createComp.
  CreatedComponent create(const std::string& progId, const std::string& parentProgId, long filter);
  // Whether the registry knows 'progId' (a package of 'parentProgId' when that is not empty); asked without
  // creating anything, so no box is raised.
  bool registered(const std::string& progId, const std::string& parentProgId);
  ICCAPEGUI* object() const { return object_.get(); }
  // releaseComponents now, so that what the component says while it stops is heard here.
  void release();
  // The message boxes caught so far on this road (batch mode).
  const std::vector<RelayedBox>& messages();
  Json messagesJson();

 private:
  Session& session_;
  IDispatch* container_;
  fw::ComPtr<ICCAPEGUI> object_;
  std::vector<RelayedBox> messages_;
};
