// How the skin layer reaches the game window without knowing the client: the main frame installs a
// lookup once it exists. Until then, and whenever the lookup answers null (between a game's end and
// the next start), there is no game window and nothing is repainted.
#pragma once

class CSkinWnd2;

using PFN_GETGAMEWND = CSkinWnd2* (*)();

// Installed by the main frame; null until then.
extern PFN_GETGAMEWND g_pfnGetGameWnd;

// The game window now, or null.
CSkinWnd2* GetGameWnd();
