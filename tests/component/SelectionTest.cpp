// Selecting a component without the dialog: setup, setProgIds, the getters and release.
#include <gtest/gtest.h>
#include <vector>
#include "TxCOGUI.h"
#include "common/BoxCapture.h"
#include "common/TestSupport.h"
#include "external/ExtnContainer.h"
#include "support/CTxBSTR.h"

namespace {

// A host container of the test's own: answers the IIDs it is told to and records what it
// was asked for, and how many references it holds.
class RecordingContainer : public IDispatch {
 public:
  explicit RecordingContainer(const IID& answers) : answers_(answers) {}
  std::vector<IID> asked;
  LONG refs = 1;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    asked.push_back(riid);
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, answers_)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }

 private:
  IID answers_;
};

class SelectionTest : public tx::ComTest {
 protected:
  void SetUp() override {
    tx::ComTest::SetUp();
    ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  }
  fw::ComPtr<ICCAPEGUI> object;
};

std::string text(BSTR value) {
  std::string result = tx::bstrText(value);
  SysFreeString(value);
  return result;
}

}  // namespace

TEST_F(SelectionTest, SetupAsksTheContainerByTheUnitOperationBit) {
  RecordingContainer unitHost(IID_ExtnContainerUnit);
  ASSERT_EQ(S_OK, object->setup(0, &unitHost, catf_UnitOperation));
  ASSERT_FALSE(unitHost.asked.empty());
  EXPECT_TRUE(IsEqualIID(IID_ExtnContainerUnit, unitHost.asked.back()));
  EXPECT_EQ(2, unitHost.refs);  // the object keeps one reference

  RecordingContainer packageHost(IID_ExtnContainer);
  ASSERT_EQ(S_OK, object->setup(0, &packageHost, catf_PropertyPackage));
  EXPECT_TRUE(IsEqualIID(IID_ExtnContainer, packageHost.asked.back()));
  // The replaced container is given back at once, not kept until release.
  EXPECT_EQ(1, unitHost.refs);
  EXPECT_EQ(2, packageHost.refs);

  ASSERT_EQ(S_OK, object->releaseComponents());
  EXPECT_EQ(1, packageHost.refs);
  // A second release does nothing.
  ASSERT_EQ(S_OK, object->releaseComponents());
  EXPECT_EQ(1, packageHost.refs);
}

TEST_F(SelectionTest, SetupWithNullContainerDropsTheHeldOne) {
  RecordingContainer host(IID_ExtnContainer);
  ASSERT_EQ(S_OK, object->setup(0, &host, catf_ThermoSystem));
  EXPECT_EQ(2, host.refs);
  ASSERT_EQ(S_OK, object->setup(0, nullptr, catf_ThermoSystem));
  EXPECT_EQ(1, host.refs);
}

TEST_F(SelectionTest, ContainerWithoutTheInterfaceIsReportedAndKeepsTheOldOne) {
  BoxCapture boxes;
  RecordingContainer wrong(IID_ExtnContainerUnit);
  RecordingContainer good(IID_ExtnContainer);
  ASSERT_EQ(S_OK, object->setup(0, &good, catf_PropertyPackage));
  EXPECT_EQ(E_NOINTERFACE, object->setup(0, &wrong, catf_PropertyPackage));
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(0u, boxes.boxes()[0].text.find(" ERROR: Unexpected error "));
  EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find("80004002"));
  EXPECT_EQ("Brisk Tarnix CAPE-OPEN", boxes.boxes()[0].caption);
  EXPECT_EQ(1, wrong.refs);
  EXPECT_EQ(2, good.refs);
  object->releaseComponents();
}

TEST_F(SelectionTest, SetProgIdsWithEmptyProgIdLeavesChoiceEmpty) {
  BoxCapture boxes;
  CTxBSTR server(L"\\\\faraway");
  ASSERT_EQ(S_OK, object->put_serverName(server));
  ASSERT_EQ(S_OK, object->setProgIds(nullptr, nullptr));
  BSTR value = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetItemProgID(&value));
  EXPECT_EQ(nullptr, value);
  ASSERT_EQ(S_OK, object->GetCATID(&value));
  EXPECT_EQ("", text(value));
  // setProgIds takes the server name from the registry lookup, which has none.
  ASSERT_EQ(S_OK, object->get_serverName(&value));
  EXPECT_EQ("", text(value));
  LONG version = 0;
  ASSERT_EQ(S_OK, object->get_compCOversion(&version));
  EXPECT_EQ(100, version);
  BSTR info[5] = {};
  ASSERT_EQ(S_OK, object->GetItemInfo(&info[0], &info[1], &info[2], &info[3], &info[4]));
  for (BSTR& field : info) EXPECT_EQ("", text(field));
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SelectionTest, PackageOfAnUnregisteredSystemKeepsItsNameAndTheNullClsid) {
  BoxCapture boxes;
  CTxBSTR package(L"Orphan Package"), system(L"TxSamples.NoSuchSystem.1");
  ASSERT_EQ(S_OK, object->setProgIds(package, system));
  BSTR value = nullptr;
  ASSERT_EQ(S_OK, object->GetItemProgID(&value));
  EXPECT_EQ("Orphan Package", text(value));
  ASSERT_EQ(S_OK, object->GetItemAlias(&value));
  EXPECT_EQ("Orphan Package", text(value));
  ASSERT_EQ(S_OK, object->GetParentProgID(&value));
  EXPECT_EQ("<null>", text(value));  // the system's own lookup found nothing
  ASSERT_EQ(S_OK, object->GetItemCLSID(&value));
  EXPECT_EQ("{00000000-0000-0000-0000-000000000000}", text(value));
  ASSERT_EQ(S_OK, object->getFullCOPPClassName(&value));
  EXPECT_EQ("Orphan Package(Standalone)", text(value));
  EXPECT_EQ(0u, boxes.count());
}

TEST_F(SelectionTest, ClsidOfAnUnregisteredChoiceIsReported) {
  BoxCapture boxes;
  BSTR value = reinterpret_cast<BSTR>(1);
  HRESULT hr = object->GetItemCLSID(&value);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(reinterpret_cast<BSTR>(1), value);  // not written
  ASSERT_EQ(1u, boxes.count());
  EXPECT_NE(std::string::npos,
            boxes.boxes()[0].text.find("The component with ProgID '' is not correctly registered. It's CLSID does "
                                       "not appear in the registry."));
}

TEST_F(SelectionTest, NullOutPointersAreRefused) {
  EXPECT_EQ(E_POINTER, object->GetItemProgID(nullptr));
  EXPECT_EQ(E_POINTER, object->GetCATID(nullptr));
  EXPECT_EQ(E_POINTER, object->GetItemCLSID(nullptr));
  EXPECT_EQ(E_POINTER, object->get_serverName(nullptr));
  EXPECT_EQ(E_POINTER, object->GetItemInfo(nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(E_POINTER, object->ShowGUI(nullptr, nullptr));
  EXPECT_EQ(E_POINTER, object->createComp(nullptr, nullptr));
}
