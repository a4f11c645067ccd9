// Emptying the game's data folder ("vessa" below the user's profile) of its files.
#pragma once

#include "framework/String.h"

#include <windows.h>

// The game's data folder, "%userprofile%\vessa", when the profile variable holds an absolute path
// that fits its 1024-unit buffer; FALSE otherwise (nothing may be read or written there then).
BOOL GetGameDataFolder(CString& folder);

// Deletes every file below "%userprofile%\vessa" and keeps the folders. Does nothing unless the
// profile variable holds an absolute path.
void CleanGameCache();

// Deletes the files in a folder and below it; the folders themselves stay. Links to other folders
// (junctions, symbolic links) are never followed.
void DeleteFilesRecursive(const wchar_t* folder);
