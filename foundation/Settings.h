// The player's settings: one record built on first use from "config.ini" beside the program (and the
// plug-in's registration), written back to the file when the process ends normally.
#pragma once

#include "framework/String.h"

#include <windows.h>

struct INI_CONFIG {
    INI_CONFIG();
    ~INI_CONFIG(); // saves: the record lives until normal process exit
    INI_CONFIG(const INI_CONFIG&) = delete;
    INI_CONFIG& operator=(const INI_CONFIG&) = delete;

    CString GetPluginPath() const { return m_strPluginPath; }

    int HotKey;              // virtual-key code of the boss key (with Ctrl+Alt); 0 or less: none
    BOOL UseHotKey;          // boss key switched on
    BOOL m_bEnable1;         // setup window's first check box, never stored
    BOOL AlwaysTop;          // keep the game window on top
    int first_time;          // first-run flag, stored back as loaded
    CString m_strPluginPath; // registered file of the game's browser plug-in, empty when absent
    wchar_t m_szBuffer[260]; // scratch text for writing numbers

    // Writes the record to "config.ini" (also done when the process ends normally).
    void Save();

private:
    void Load();
};

// The one settings record; the first call builds and loads it.
INI_CONFIG* GetIniConfig();

// Full path of "config.ini" beside the program.
extern CString g_strIniPath;

// Folder of the program file, without a trailing backslash.
CString GetModuleDir();
