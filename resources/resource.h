// Resource identifiers of TxCOGUI.dll.
#pragma once

#define IDR_CCAPEGUI 103
#define IDI_TXCOGUI 217

// Component Manager (template 101) and the computer-name prompt (template 220).
#define IDD_CAPEOPEN_DIALOG 101
#define IDD_INPUTBOX 220
// Property package information dialog.
#define IDD_COTHCONFIG 203
