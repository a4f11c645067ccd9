#include "skin/GameWndHook.h"

PFN_GETGAMEWND g_pfnGetGameWnd = nullptr;

CSkinWnd2* GetGameWnd() { return g_pfnGetGameWnd ? g_pfnGetGameWnd() : nullptr; }
