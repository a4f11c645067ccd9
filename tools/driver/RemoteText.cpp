#include "tools/driver/RemoteText.h"

#include <cstring>
#include <vector>

namespace driver {

CRemoteText::~CRemoteText() {
    if (m_remote) VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
}

bool CRemoteText::Create(HANDLE process, const CString& text) {
    static_assert(sizeof(CString) <= kObjectRoom, "the object must fit before the text");
    if (m_remote) return false;
    const size_t textBytes = (static_cast<size_t>(text.GetLength()) + 1) * sizeof(wchar_t);
    m_remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, kObjectRoom + textBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!m_remote) return false;
    m_process = process;

    // A copy of a local object, with its pointer to its own characters moved to the remote text. A text
    // kept inside the object (short texts) has no such pointer and is refused.
    const CString local(text);
    std::vector<BYTE> object(kObjectRoom, 0);
    memcpy(object.data(), &local, sizeof(CString));
    const void* localChars = local.GetString();
    const BYTE* remoteChars = m_remote + kObjectRoom;
    bool moved = false;
    for (size_t at = 0; at + sizeof(void*) <= sizeof(CString); at += sizeof(void*)) {
        void* field = nullptr;
        memcpy(&field, object.data() + at, sizeof(field));
        if (field != localChars) continue;
        memcpy(object.data() + at, &remoteChars, sizeof(remoteChars));
        moved = true;
    }
    SIZE_T written = 0;
    return moved && WriteProcessMemory(process, m_remote, object.data(), object.size(), &written) &&
           WriteProcessMemory(process, m_remote + kObjectRoom, text.GetString(), textBytes, &written);
}

} // namespace driver
