// The platform's floor for small requests: a plain open-read-close loop over one WinINet session
// (kept connections are reused), or with a session of its own per request as HttpGet makes them.
//   bare_wininet <url> <count> [per-request]
#include "BenchClock.h"

#include <wininet.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    const int count = argc >= 3 ? _wtoi(argv[2]) : 0;
    const bool perRequest = argc == 4 && wcscmp(argv[3], L"per-request") == 0;
    if (count <= 0 || argc > 4 || (argc == 4 && !perRequest)) {
        fwprintf(stderr, L"usage: bare_wininet URL COUNT [per-request]\n");
        return 1;
    }
    auto open = [] { return InternetOpenW(L"session", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0); };
    HINTERNET session = perRequest ? nullptr : open();
    if (!perRequest && !session) return 1;
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    BenchClock clock;
    int answered = 0;
    for (int i = 0; i < count; ++i) {
        HINTERNET own = perRequest ? open() : nullptr;
        HINTERNET file = InternetOpenUrlW(perRequest ? own : session, argv[1], nullptr, 0, flags, 1);
        if (!file) {
            if (own) InternetCloseHandle(own);
            continue;
        }
        char buffer[1024];
        DWORD read = 0, total = 0;
        while (InternetReadFile(file, buffer, sizeof(buffer) - 1, &read) && read > 0)
            total += read;
        InternetCloseHandle(file);
        if (own) InternetCloseHandle(own);
        if (total > 0) ++answered;
    }
    double seconds = clock.Seconds();
    if (session) InternetCloseHandle(session);
    if (answered != count) {
        fwprintf(stderr, L"bare_wininet: %d of %d requests got no answer\n", count - answered, count);
        return 1;
    }
    PrintResult(perRequest ? "bare_wininet_per_request" : "bare_wininet",
                static_cast<unsigned long long>(count), "requests", seconds);
    return 0;
}
