// Start-up of the real client against the platform's floor: the time from starting Pellar.exe until
// its login window is visible, and its peak working set, against bare-browser (one plain window
// hosting the browser control on the same home page). Starts alternate between the two so that
// warm-up and load fall on both alike; medians are printed, with the ratios the targets name.
//   startup-bench <Pellar.exe> <skin folder> <bare-browser.exe> <service port> <starts>
#include "tools/driver/ClientProcess.h"
#include "tools/driver/ProgramFolder.h"
#include "tools/driver/SkinLayout.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace driver;

namespace {

// How long a started program may take to show its window, and how long it runs on after that before
// its peak working set is read (its page has been requested and answered by then).
constexpr DWORD kShowLimitMs = 60000;
constexpr DWORD kSettleMs = 1500;
// A start right after another program was ended waits for the system to finish with that one (up to
// two seconds here, whichever program comes next): each start begins after this rest.
constexpr DWORD kRestMs = 3000;

struct Sample {
    double startMs = 0;
    double peakMb = 0;
};

struct Contender {
    const char* name;
    CString program;
    CString argument; // empty: none
    CString windowClass;
    std::vector<Sample> samples;
};

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One start: until the window is visible, then the peak working set after the settling time.
bool Measure(Contender& contender, Sample& sample) {
    CClientProcess process;
    const double started = NowMs();
    std::vector<CString> arguments;
    if (!contender.argument.IsEmpty()) arguments.push_back(contender.argument);
    if (!process.Start(contender.program, arguments)) return false;
    // Polled every millisecond (not through WaitUntil's coarser step): the start is what is measured.
    for (;;) {
        HWND wnd = process.FindWindow(contender.windowClass);
        if (wnd && IsWindowVisible(wnd)) break;
        if (!process.IsRunning() || NowMs() - started > kShowLimitMs) return false;
        Sleep(1);
    }
    sample.startMs = NowMs() - started;
    Sleep(kSettleMs);
    sample.peakMb = static_cast<double>(process.PeakWorkingSet()) / (1024.0 * 1024.0);
    process.Terminate();
    Sleep(kRestMs);
    return sample.peakMb > 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int starts = argc == 6 ? _wtoi(argv[5]) : 0;
    const int port = argc == 6 ? _wtoi(argv[4]) : 0;
    if (starts <= 0 || port <= 0) {
        fwprintf(stderr, L"usage: startup-bench PELLAR_EXE SKIN_FOLDER BARE_EXE PORT STARTS\n");
        return 2;
    }
    CProgramFolder clientFolder, bareFolder;
    if (!clientFolder.Create(argv[1], argv[2], port) || !bareFolder.Create(argv[3])) {
        fwprintf(stderr, L"startup-bench: cannot prepare the program folders\n");
        return 1;
    }
    const CString homeUrl = ReadConfigValue(clientFolder.Path(), L"homeUrl");
    Contender contenders[2] = {
        {"Pellar.exe",
         clientFolder.Program(),
         CString(),
         ReadConfigValue(clientFolder.Path(), L"imClass"),
         {}},
        {"bare browser window", bareFolder.Program(), homeUrl, L"BareBrowserWnd", {}},
    };

    // One unmeasured start each: the first start of a program under Wine loads everything cold.
    for (Contender& contender : contenders) {
        Sample ignored;
        if (!Measure(contender, ignored)) {
            fprintf(stderr, "startup-bench: %s did not show its window\n", contender.name);
            return 1;
        }
    }
    for (int round = 0; round < starts; ++round) {
        for (int k = 0; k < 2; ++k) {
            Contender& contender = contenders[(round + k) % 2];
            Sample sample;
            if (!Measure(contender, sample)) {
                fprintf(stderr, "startup-bench: %s did not show its window\n", contender.name);
                return 1;
            }
            contender.samples.push_back(sample);
        }
    }

    double startMs[2], peakMb[2];
    printf("start to window shown and peak working set (median of %d alternating starts each; range)\n",
           starts);
    for (int i = 0; i < 2; ++i) {
        std::vector<double> times, peaks;
        for (const Sample& sample : contenders[i].samples) {
            times.push_back(sample.startMs);
            peaks.push_back(sample.peakMb);
        }
        startMs[i] = Median(times);
        peakMb[i] = Median(peaks);
        printf("  %-22s %8.0f ms (%.0f-%.0f) %8.1f MB (%.1f-%.1f)\n", contenders[i].name, startMs[i],
               *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()),
               peakMb[i], *std::min_element(peaks.begin(), peaks.end()),
               *std::max_element(peaks.begin(), peaks.end()));
    }
    const double startRatio = startMs[0] / startMs[1];
    const double memoryRatio = peakMb[0] / peakMb[1];
    printf("  Pellar.exe / bare: start %.2fx, memory %.2fx (target at most 1.25x: start %s, memory %s)\n",
           startRatio, memoryRatio, startRatio <= 1.25 ? "met" : "missed",
           memoryRatio <= 1.25 ? "met" : "missed");
    fflush(stdout);
    return 0;
}
