// The CCAPEGUI object as hosts see it: creation, interfaces, defaults, dispatch.
#include <gtest/gtest.h>
#include "TxCOGUI.h"
#include "common/TestSupport.h"

using tx::ComTest;

class ObjectTest : public ComTest {};

TEST_F(ObjectTest, NewObjectHasDocumentedDefaults) {
  fw::ComPtr<ICCAPEGUI> object;
  ASSERT_EQ(S_OK, tx::createProduct(object.put()));
  BSTR text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->GetItemProgID(&text));
  EXPECT_EQ(nullptr, text);
  ASSERT_EQ(S_OK, object->GetCATID(&text));
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(0u, SysStringLen(text));
  SysFreeString(text);
  LONG version = -1;
  ASSERT_EQ(S_OK, object->get_compCOversion(&version));
  EXPECT_EQ(0, version);
  text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(S_OK, object->get_serverName(&text));
  EXPECT_EQ(nullptr, text);
}
