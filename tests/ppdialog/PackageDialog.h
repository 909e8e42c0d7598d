// What the package dialog's tests share: the product's object, a showing of its dialog
// driven from the test, and VARIANT lists built in place.
#pragma once
#include "common/DialogDriver.h"
#include "common/ProductFixture.h"
#include "ppdialog/COTHConfigIds.h"

namespace ppt {

using Texts = std::vector<std::string>;
using Step = std::function<void(HWND)>;
inline constexpr char kCaption[] = "CAPE-OPEN Property Package Detailed Information";

// A VARIANT given an array of 'type' with the given lower bound, 'count' elements in each
// of its 'dims' dimensions; its elements.
template <class T = BSTR>
T* makeArray(VARIANT* v, VARTYPE type, ULONG count, long lower = 0, UINT dims = 1) {
  SAFEARRAYBOUND bounds[2] = {{count, lower}, {count, lower}};
  v->vt = static_cast<VARTYPE>(VT_ARRAY | type);
  v->parray = SafeArrayCreate(type, dims, bounds);
  return v->parray ? static_cast<T*>(v->parray->pvData) : nullptr;
}

inline void makeStrings(VARIANT* v, const std::vector<const wchar_t*>& items, long lower = 0) {
  BSTR* data = makeArray(v, VT_BSTR, static_cast<ULONG>(items.size()), lower);
  for (size_t i = 0; data && i < items.size(); ++i) data[i] = items[i] ? SysAllocString(items[i]) : nullptr;
}

// Every option as the getters give it: comp (3), recov (3), crit (3), order phases, VLL request.
using Values = std::vector<VARIANT_BOOL>;
inline Values options(ICCAPEGUI* object) {
  Values v(11, 7);
  EXPECT_EQ(S_OK, object->getCompOptions(&v[0], &v[1], &v[2]));
  EXPECT_EQ(S_OK, object->getRecovErrorsOptions(&v[3], &v[4], &v[5]));
  EXPECT_EQ(S_OK, object->getCritErrorsOptions(&v[6], &v[7], &v[8]));
  EXPECT_EQ(S_OK, object->get_doOrderPhases(&v[9]));
  EXPECT_EQ(S_OK, object->get_requestLiquid2(&v[10]));
  return v;
}
inline constexpr VARIANT_BOOL T = VARIANT_TRUE, F = VARIANT_FALSE;

// A sample object as a host creates it.
inline fw::ComPtr<IDispatch> create(const txs::ClassInfo& info) {
  fw::ComPtr<IDispatch> object;
  EXPECT_EQ(S_OK, CoCreateInstance(info.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void()));
  return object;
}

class ProductTest : public tx::ProductTest {
 protected:
  // One showing of the dialog: 'step' runs in it, then 'close'. The dialog must have run
  // once and been closed by 'close'; the captions of other dialogs go to 'others'.
  HRESULT show(Step step, Step close = tx::pressCloseBox, VARIANT_BOOL allow = VARIANT_TRUE, Texts* others = nullptr) {
    tx::DialogDriver driver(boxes, kCaption);
    driver.then(std::move(step)).then(std::move(close));
    HRESULT hr = object->ShowThermoGUI(allow);
    EXPECT_EQ(1, driver.dialogsSeen());
    EXPECT_FALSE(driver.forcedClose());
    if (others) *others = driver.otherDialogs();
    return hr;
  }
  // The lists of one showing: compIds, casNos, properties, phases, flash types.
  std::vector<Texts> shownLists() {
    std::vector<Texts> lists;
    EXPECT_EQ(S_OK, show([&](HWND d) {
      for (int id : {IDC_COMPIDS, IDC_CASNOS, IDC_PROPERTIES, IDC_PHASES, IDC_FLASH_TYPES})
        lists.push_back(tx::listItems(d, id));
    }));
    return lists;
  }
};

}  // namespace ppt
