// Handing pages to the user's default browser and starting outside programs (installers).
#pragma once

#include "framework/String.h"

#include <windows.h>

// The default browser's program from "http\shell\open\command": the command line cut after ".exe"
// (and its closing quotation mark, when quoted); empty when the command names no ".exe". FALSE when
// the key cannot be opened (the output is then left as it was).
BOOL GetDefaultBrowserPath(CString& path);

// Opens an http or https address in the default browser, as one quoted argument; other addresses are
// refused. Without a known browser the shell opens the address itself.
void OpenInDefaultBrowser(const wchar_t* url);

// Starts a program without waiting for it. A command line that names an existing file whole is run
// as that file even when its path holds spaces. TRUE when the process was started.
BOOL RunProcess(const CString& commandLine);
