// Our own path: one large download through CDownloadThread (queued, fetched, reported by message
// to a message-only window), then many small HttpGet requests.
//   download_bench <large url> <target file> <small url> <request count>
// Either part is skipped when its url is "-" (or the count 0).
#include "BenchClock.h"

#include "foundation/DownloadThread.h"
#include "foundation/Http.h"

#include <cwchar>
#include <memory>

namespace {

const UINT WM_BENCH_DONE = WM_USER + 1;

int Fail(const wchar_t* what) {
    fwprintf(stderr, L"download_bench: %ls\n", what);
    return 1;
}

int DownloadOnce(const wchar_t* url, const wchar_t* target);

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return Fail(L"usage: download_bench LARGE_URL TARGET_FILE SMALL_URL COUNT");
    const int count = _wtoi(argv[4]);
    if (count < 0) return Fail(L"COUNT must not be negative");
    if (wcscmp(argv[1], L"-") != 0 && DownloadOnce(argv[1], argv[2]) != 0) return 1;
    if (wcscmp(argv[3], L"-") == 0 || count == 0) return 0;

    BenchClock small;
    int answered = 0;
    for (int i = 0; i < count; ++i)
        if (!HttpGet(argv[3]).IsEmpty()) ++answered;
    double smallSeconds = small.Seconds();
    if (answered != count) return Fail(L"some small requests got no answer");
    PrintResult("httpget", static_cast<unsigned long long>(count), "requests", smallSeconds);
    return 0;
}

namespace {

int DownloadOnce(const wchar_t* url, const wchar_t* target) {
    HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!sink) return Fail(L"no message window");
    auto thread = std::make_unique<CDownloadThread>();
    thread->Start(FALSE);

    CDownloadThread::THREAD_PARAM_DOWN task;
    task.strKey = url;
    task.strUrl = url;
    task.strSavePath = target;
    task.nFileSize = 0;
    task.nMsg = WM_BENCH_DONE;
    task.bRetry = FALSE;
    task.nReserved = 0;
    task.hWnd = sink;

    BenchClock clock;
    const int id = thread->QueueTask(task);
    thread->Wake();
    MSG msg;
    bool reported = false;
    while (!reported && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == sink && msg.message == WM_BENCH_DONE) reported = true;
        DispatchMessageW(&msg);
    }
    double seconds = clock.Seconds();
    CDownloadThread::THREAD_PARAM_DOWN done;
    const bool ok = thread->GetResult(id, done) != FALSE;
    StopAndRelease(thread, 3000);
    if (!ok) return Fail(L"the download failed");
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(target, GetFileExInfoStandard, &data);
    unsigned long long bytes =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    DeleteFileW(target);
    DestroyWindow(sink);
    PrintResult("thread_download", bytes, "bytes", seconds);
    return 0;
}

} // namespace
