// A stand-in for the host simulator: a program named tarnix.exe with a version resource
// that shows the property package dialog of the product as the simulator does, and
// writes what the Properties page showed into a result file.
//
//   tarnix.exe <parent ProgID> <result file>
//
// Result lines: "parent=<GetParentProgID>", "vll=<0|1>" (check box 263 visible),
// "vllChecked=<0|1>", "dialogs=<showings>", then "box=<text>" for each message box.
#include <cstdio>
#include "ppdialog/PackageDialog.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  fw::ComInit com;
  if (FAILED(com.result())) return 3;
  fw::ComPtr<ICCAPEGUI> object;
  if (FAILED(tx::createProduct(object.put()))) return 4;

  BoxCapture capture;
  object->put_requestLiquid2(VARIANT_TRUE);
  object->setProgIds(CTxBSTR(L"Maker Package"), CTxBSTR(argv[1]));
  BSTR parent = nullptr;
  object->GetParentProgID(&parent);
  std::string parentText = tx::bstrText(parent);
  SysFreeString(parent);

  int vll = 0, vllChecked = 0;
  tx::DialogDriver driver(capture, ppt::kCaption);
  driver.then([&](HWND d) {
    tx::selectTab(d, IDC_PP_TABS, 2);
    vll = tx::visibleControls(d).count(IDC_REQUEST_LIQUID2) == 1;
    vllChecked = tx::isChecked(d, IDC_REQUEST_LIQUID2);
  });
  driver.then(tx::pressCloseBox);
  object->ShowThermoGUI(VARIANT_TRUE);

  FILE* file = fopen(argv[2], "w");
  if (!file) return 5;
  fprintf(file, "parent=%s\nvll=%d\nvllChecked=%d\ndialogs=%d\n", parentText.c_str(), vll, vllChecked,
          driver.dialogsSeen());
  for (const CapturedBox& box : capture.boxes()) fprintf(file, "box=%s\n", box.text.c_str());
  fclose(file);
  return 0;
}
