// A stand-in for the web browser application, registered by the tests as the in-process
// server of its class: it records what the Component Manager asks of it.
#pragma once
#include <windows.h>

// Behaviour of the next objects.
enum FakeBrowserMode {
  fakeBrowserNormal = 0,
  fakeBrowserWithoutApp = 1,      // no IWebBrowserApp
  fakeBrowserNavigateFails = 2,   // Navigate answers E_FAIL
};

extern "C" {
// void WINAPI (int mode): also forgets what was recorded.
typedef void(WINAPI* FakeBrowserResetFn)(int mode);
// Each Navigate as "<url>|<types of the four optional VARIANTs>|<visible before>",
// separated by '\n', copied into 'buffer'; returns the number of calls.
typedef int(WINAPI* FakeBrowserCallsFn)(char* buffer, int size);
}

inline constexpr char kFakeBrowserReset[] = "FakeBrowserReset";
inline constexpr char kFakeBrowserCalls[] = "FakeBrowserCalls";
