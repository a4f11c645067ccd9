// The platform's floor for a download: one URLDownloadToFileW call and nothing else.
//   bare_download <url> <target file>
#include "BenchClock.h"

#include <urlmon.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: bare_download URL TARGET_FILE\n");
        return 1;
    }
    CoInitialize(nullptr);
    BenchClock clock;
    HRESULT hr = URLDownloadToFileW(nullptr, argv[1], argv[2], 0, nullptr);
    double seconds = clock.Seconds();
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(argv[2], GetFileExInfoStandard, &data);
    unsigned long long bytes =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    DeleteFileW(argv[2]);
    CoUninitialize();
    if (hr != S_OK) {
        fwprintf(stderr, L"bare_download: failed (0x%08lx)\n", static_cast<unsigned long>(hr));
        return 1;
    }
    PrintResult("bare_download", bytes, "bytes", seconds);
    return 0;
}
