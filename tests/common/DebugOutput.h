// Collects what the program sends to the debugger's output (OutputDebugString) while it lives, from
// any thread: the platform raises each line as a first-chance exception, which a vectored handler
// sees before the platform's own handler swallows it.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

class DebugOutput {
public:
    DebugOutput() {
        std::lock_guard<std::mutex> lock(Mutex());
        Lines().clear();
        m_handler = AddVectoredExceptionHandler(1, &Collect);
    }
    ~DebugOutput() { RemoveVectoredExceptionHandler(m_handler); }
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;

    // How many lines so far contain every one of the texts.
    int Count(std::initializer_list<const char*> texts) const {
        std::lock_guard<std::mutex> lock(Mutex());
        int count = 0;
        for (const std::string& line : Lines()) {
            bool all = true;
            for (const char* text : texts)
                all = all && line.find(text) != std::string::npos;
            count += all;
        }
        return count;
    }

private:
    // Each wide line also arrives in its narrow form, so only that one is kept.
    static LONG CALLBACK Collect(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
            const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
            if (text) {
                std::lock_guard<std::mutex> lock(Mutex());
                Lines().emplace_back(text, strnlen(text, length));
            }
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::string>& Lines() {
        static std::vector<std::string> lines;
        return lines;
    }

    PVOID m_handler = nullptr;
};
