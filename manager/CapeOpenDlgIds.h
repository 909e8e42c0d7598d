// Control identifiers of the Component Manager (template 101) and of the computer-name
// prompt (template 220).
#pragma once

#define IDC_CO_REFRESH 8
#define IDC_CO_HIDDEN_EDIT1 206
#define IDC_CO_HIDDEN_EDIT2 208
#define IDC_CO_CATEGORY 210
#define IDC_CO_HIDDEN_LIST 211
#define IDC_CO_SHOW_PROGIDS 214
#define IDC_CO_DESCRIPTION 216
#define IDC_CO_ABOUT 218
#define IDC_CO_CAPE_VERSION 219
#define IDC_CO_COMPONENT_VERSION 221
#define IDC_CO_VENDOR_URL 223
#define IDC_CO_CLSID 225
#define IDC_CO_HELP 226
#define IDC_CO_REMOTE 229
#define IDC_CO_TAB 248
#define IDC_CO_DERADID 255
#define IDC_CO_TREE 1018

#define IDC_INPUTBOX_EDIT 232

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
