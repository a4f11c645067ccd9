// Start-up of the real client against the platform's floor: the time from starting Pellar.exe until
// the picture of its login window is on the screen, and its peak working set, against bare-browser
// (one plain window hosting the browser control on the same home page), whose clock stops alike when
// its window's picture is on the screen. A layered window is shown before it has a picture, so the
// clock does not stop at the window becoming visible but when the screen over the window's area is
// no longer what it was before the start. Starts alternate between the two so that warm-up and load
// fall on both alike; medians are printed, with the range of the per-round ratios. Give it the
// programs as shipped (stripped): an unstripped program's debug sections are read into memory.
//   startup-bench <Pellar.exe> <skin folder> <bare-browser.exe> <service port> <starts>
#include "bench/BenchStats.h"
#include "tools/driver/ClientProcess.h"
#include "tools/driver/ProgramFolder.h"
#include "tools/driver/Screenshot.h"
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

// The picture counts as on the screen when this share of the pixels sampled over the window's area
// differ from the screen before the start (a grid of one pixel in kSampleStep each way).
constexpr double kShownShare = 0.5;
constexpr int kSampleStep = 8;

struct Sample {
    double shownMs = 0; // the window became visible
    double startMs = 0; // its picture is on the screen
    double peakMb = 0;
};

struct Contender {
    const char* name;
    CString program;
    CString argument; // empty: none
    CString windowClass;
    std::vector<Sample> samples;
};

// Whether the screen over the window differs from the screen before the start in most samples.
bool PictureShown(HWND wnd, const CDibSection& before) {
    RECT rect = {};
    CDibSection now;
    if (!GetWindowRect(wnd, &rect) || !CaptureWindow(wnd, now)) return false;
    const int left = rect.left - GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = rect.top - GetSystemMetrics(SM_YVIRTUALSCREEN);
    int sampled = 0, changed = 0;
    for (int y = kSampleStep / 2; y < now.Height(); y += kSampleStep)
        for (int x = kSampleStep / 2; x < now.Width(); x += kSampleStep) {
            ++sampled;
            changed += ((now.Pixel(x, y) ^ before.Pixel(left + x, top + y)) & 0xFFFFFF) != 0;
        }
    return sampled > 0 && changed >= kShownShare * sampled;
}

// One start: until the window's picture is on the screen, then the peak working set after the
// settling time.
bool Measure(Contender& contender, Sample& sample) {
    CDibSection before;
    if (!CaptureScreen(before)) return false;
    CClientProcess process;
    const double started = NowMs();
    std::vector<CString> arguments;
    if (!contender.argument.IsEmpty()) arguments.push_back(contender.argument);
    if (!process.Start(contender.program, arguments)) return false;
    // Polled every millisecond (not through WaitUntil's coarser step): the start is what is measured.
    for (;;) {
        HWND wnd = process.FindWindow(contender.windowClass);
        if (wnd && IsWindowVisible(wnd)) {
            if (sample.shownMs == 0) sample.shownMs = NowMs() - started;
            if (PictureShown(wnd, before)) break;
        }
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

double Min(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}
double Max(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
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
            fprintf(stderr, "startup-bench: %s did not show its picture\n", contender.name);
            return 1;
        }
    }
    for (int round = 0; round < starts; ++round) {
        for (int k = 0; k < 2; ++k) {
            Contender& contender = contenders[(round + k) % 2];
            Sample sample;
            if (!Measure(contender, sample)) {
                fprintf(stderr, "startup-bench: %s did not show its picture\n", contender.name);
                return 1;
            }
            contender.samples.push_back(sample);
        }
    }

    printf("start to the login picture on the screen, and peak working set (median of %d alternating starts "
           "each; range)\n",
           starts);
    std::vector<double> contenderTimes[2], contenderPeaks[2];
    for (int i = 0; i < 2; ++i) {
        const Contender& contender = contenders[i];
        std::vector<double> shown, times, peaks;
        for (const Sample& sample : contender.samples) {
            shown.push_back(sample.shownMs);
            times.push_back(sample.startMs);
            peaks.push_back(sample.peakMb);
        }
        printf("  %-22s picture %6.0f ms (%.0f..%.0f), window shown %6.0f ms; %6.1f MB (%.1f..%.1f)\n",
               contender.name, Median(times), Min(times), Max(times), Median(shown), Median(peaks),
               Min(peaks), Max(peaks));
        contenderTimes[i] = times;
        contenderPeaks[i] = peaks;
    }
    // The ratio of the medians, and the range of the ratios of the two starts of one round (which met
    // the same load).
    std::vector<double> startRatios, memoryRatios;
    for (int round = 0; round < starts; ++round) {
        const Sample& ours = contenders[0].samples[round];
        const Sample& bare = contenders[1].samples[round];
        startRatios.push_back(ours.startMs / bare.startMs);
        memoryRatios.push_back(ours.peakMb / bare.peakMb);
    }
    const double startRatio = Median(contenderTimes[0]) / Median(contenderTimes[1]);
    const double memoryRatio = Median(contenderPeaks[0]) / Median(contenderPeaks[1]);
    printf("  Pellar.exe / bare: start %.2fx (rounds %.2f..%.2f), memory %.2fx (rounds %.2f..%.2f); goal at "
           "most "
           "1.25x: start %s, memory %s\n",
           startRatio, Min(startRatios), Max(startRatios), memoryRatio, Min(memoryRatios), Max(memoryRatios),
           startRatio <= 1.25 ? "met" : "missed", memoryRatio <= 1.25 ? "met" : "missed");
    fflush(stdout);
    return 0;
}
