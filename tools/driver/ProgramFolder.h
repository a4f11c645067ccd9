// CProgramFolder: a fresh program folder for one run of a program under test: the program copied in
// once (a program file overwritten right after its process ended may fail to start), the skin folder
// beside it, and the configuration's service addresses moved to the port the stand-in listens on.
// The folder and everything the run left in it go with the object.
#pragma once

#include "framework/String.h"

#include <string>

namespace driver {

class CProgramFolder {
public:
    CProgramFolder() = default;
    ~CProgramFolder();
    CProgramFolder(const CProgramFolder&) = delete;
    CProgramFolder& operator=(const CProgramFolder&) = delete;

    // Makes a new folder in the temporary folder and copies the program into it, with skinFolder
    // (when not empty) as its "skin" folder. A servicePort other than 0 replaces the port of every
    // "http://127.0.0.1:PORT" address in the configuration file.
    bool Create(const CString& program, const CString& skinFolder = CString(), int servicePort = 0);

    const CString& Path() const { return m_path; }
    // The copied program.
    const CString& Program() const { return m_program; }
    // A file of the folder.
    CString File(const wchar_t* relative) const { return m_path + L"\\" + relative; }
    // Gives an attribute of the configuration file a new value (plain text: nothing is escaped);
    // false when the file or the attribute is missing.
    bool SetConfigValue(const char* key, const std::string& value) const;

private:
    CString m_path;
    CString m_program;
};

// Copies a folder with everything below it; false when anything could not be copied.
bool CopyTree(const CString& from, const CString& to);
bool WriteBytes(const CString& path, const std::string& bytes);
// Replaces the port of every "http://127.0.0.1:PORT" in the text.
std::string ReplaceLoopbackPort(const std::string& text, int port);

} // namespace driver
