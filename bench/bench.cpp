// Sets the program's start-up, list work, size and memory against bare Win32
// baselines and prints one table. Figures only: nothing here passes or fails.
//
//   p2pb_bench.exe [PROGRAM.exe MINIMAL.exe]   the table; sizes only with both paths
//   p2pb_bench.exe --memory real|bare          private bytes after start-up, as exit code
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "policy/probe_apply.h"
#include "policy/registry_store.h"
#include "tests/support/scratch_registry.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace {

using namespace p2pb;

constexpr int kWindowRepetitions = 49;
constexpr int kListRepetitions = 49;
constexpr int kMemoryRuns = 7;  // fresh processes of each kind
constexpr DWORD kChildTimeoutMs = 60000;

// ---- timing

double seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / frequency;
}

struct Trial {
    std::function<void()> prepare;  // untimed
    std::function<void()> run;      // timed
    std::function<void()> finish;   // untimed
};

double timeOnce(const Trial& trial) {
    if (trial.prepare) trial.prepare();
    const double start = seconds();
    trial.run();
    const double elapsed = seconds() - start;
    if (trial.finish) trial.finish();
    return elapsed;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Figures {
    std::optional<double> figure;
    std::optional<double> baseline;
};

// One untimed round of each, then both in turn, each going first every other time.
Figures timeSideBySide(int repetitions, const Trial& figure, const Trial& baseline) {
    timeOnce(figure);
    timeOnce(baseline);
    std::vector<double> a, b;
    for (int i = 0; i < repetitions; ++i) {
        if (i % 2 == 0) {
            a.push_back(timeOnce(figure));
            b.push_back(timeOnce(baseline));
        } else {
            b.push_back(timeOnce(baseline));
            a.push_back(timeOnce(figure));
        }
    }
    return {median(a), median(b)};
}

// ---- the list, under a scratch HKEY_CURRENT_USER

class QuietConfirmation final : public Confirmation {
public:
    void show() override {}
};

// What a typical user has ticked, and an entry someone else put there.
constexpr int kTypicalRows[] = {2, 5, 9, 22, 24, 25, 30};
constexpr BlockValue kForeignValue{"1", "notepad.exe"};

ScopedKey openList() {
    ScopedKey key;
    const std::string path(kListKeyPath);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS) {
        key.release();
        throw std::runtime_error("cannot open the scratch list");
    }
    return key;
}

template <typename Fn>
void forEachValue(Fn fn) {
    for (const BlockEntry& entry : kCatalogue) {
        for (const BlockValue& value : entry.valueList()) fn(value);
    }
}

void setValue(HKEY list, const BlockValue& value) {
    RegSetValueExA(list, value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data),
                   static_cast<DWORD>(std::strlen(value.data) + 1));
}

// 44 RegSetValueExA and 44 RegDeleteValueA, the bare calls behind apply.
void fillList(HKEY list) { forEachValue([list](const BlockValue& v) { setValue(list, v); }); }
void emptyList(HKEY list) { forEachValue([list](const BlockValue& v) { RegDeleteValueA(list, v.name); }); }

// 36 RegQueryValueExA, the bare calls behind probe.
void queryProbeValues(HKEY list) {
    for (const BlockEntry& entry : kCatalogue) {
        DWORD type = 0;
        RegQueryValueExA(list, entry.probeValue, nullptr, &type, nullptr, nullptr);
    }
}

void writeTypicalList(HKEY list) {
    emptyList(list);
    for (int row : kTypicalRows) {
        for (const BlockValue& value : kCatalogue[row - 1].valueList()) setValue(list, value);
    }
    setValue(list, kForeignValue);
}

// ---- the two windows

constexpr const wchar_t* kBareClassName = L"P2PBenchBareWindow";
constexpr DWORD kBareStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

void pumpPending() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Paints now, then handles whatever painting and showing queued.
void settle(HWND hwnd) {
    UpdateWindow(hwnd);
    pumpPending();
}

// The same size and frame as the program's window, with 40 plain buttons in a grid.
HWND createBareWindow(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, kBareClassName, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kBareClassName;
        RegisterClassExW(&wc);
    }
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
    const HWND hwnd = CreateWindowExW(0, kBareClassName, L"Bare", kBareStyle, left, top, kWindowWidth, kWindowHeight,
                                      nullptr, nullptr, instance, nullptr);
    if (!hwnd) throw std::runtime_error("cannot create the bare window");
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const int column = static_cast<int>(i % 4), row = static_cast<int>(i / 4);
        CreateWindowExW(0, L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8 + column * 68, 8 + row * 28,
                        64, 24, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(i))), instance, nullptr);
    }
    return hwnd;
}

enum class WindowKind { Real, Bare };

// Builds one window of either kind and shows it as MainWindow::show does.
class Startup {
public:
    Startup(HINSTANCE instance, PolicyStore& store, Confirmation& confirmation)
        : instance_(instance), deps_{store, confirmation} {}
    ~Startup() { close(); }
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    void open(WindowKind kind) {
        if (kind == WindowKind::Real) {
            real_.emplace(deps_);
            if (!real_->create(instance_)) throw std::runtime_error("cannot create the program's window");
            real_->show();
            settle(real_->hwnd());
        } else {
            bare_.reset(createBareWindow(instance_));
            ShowWindow(bare_.get(), SW_SHOW);
            SetForegroundWindow(bare_.get());
            SetFocus(GetWindow(bare_.get(), GW_CHILD));
            settle(bare_.get());
        }
    }

    // Also takes the WM_QUIT that the program's window posts when destroyed.
    void close() {
        if (real_) {
            DestroyWindow(real_->hwnd());
            real_.reset();
        }
        bare_.reset();
        pumpPending();
    }

private:
    HINSTANCE instance_;
    MainWindowDeps deps_;
    std::optional<MainWindow> real_;
    ScopedWindow bare_;
};

// ---- memory, each kind in a fresh process

std::optional<WindowKind> parseKind(const char* text) {
    if (std::strcmp(text, "real") == 0) return WindowKind::Real;
    if (std::strcmp(text, "bare") == 0) return WindowKind::Bare;
    return std::nullopt;
}

PROCESS_MEMORY_COUNTERS_EX memoryCounters() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters;
}

// Wine 8 leaves PrivateUsage at 0; on Windows PagefileUsage is the same figure.
bool privateUsageMissing() { return memoryCounters().PrivateUsage == 0; }

// Exits with the private bytes, or 0 when they can't be had. Both kinds set up
// the same scratch list, so that the difference is the window's own.
int memoryChild(WindowKind kind) {
    test::ScratchRegistry scratch;
    writeTypicalList(openList().get());
    RegistryStore store;
    QuietConfirmation quiet;
    Startup startup(GetModuleHandleW(nullptr), store, quiet);
    startup.open(kind);
    const PROCESS_MEMORY_COUNTERS_EX counters = memoryCounters();
    return static_cast<int>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

std::optional<double> childPrivateBytes(const wchar_t* kind) {
    wchar_t self[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH)) return std::nullopt;
    std::wstring command = L"\"" + std::wstring(self) + L"\" --memory " + kind;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, kChildTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 0);
    } else {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hProcess);
    // Crashes exit with an NTSTATUS, which has the top bit set.
    if (code == 0 || code >= 0x80000000u) return std::nullopt;
    return static_cast<double>(code);
}

Figures privateBytesSideBySide() {
    std::vector<double> real, bare;
    for (int i = 0; i < kMemoryRuns; ++i) {
        if (auto bytes = childPrivateBytes(L"real")) real.push_back(*bytes);
        if (auto bytes = childPrivateBytes(L"bare")) bare.push_back(*bytes);
    }
    Figures result;
    if (!real.empty()) result.figure = median(real);
    if (!bare.empty()) result.baseline = median(bare);
    return result;
}

// ---- size

std::optional<double> fileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return std::nullopt;
    return static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
}

// ---- the table

struct Unit {
    const char* suffix;
    double scale;
    int decimals;
};
constexpr Unit kMilliseconds{"ms", 1e3, 2};
constexpr Unit kMicroseconds{"us", 1e6, 1};
constexpr Unit kKibibytes{"KiB", 1.0 / 1024, 1};

std::string format(std::optional<double> value, const Unit& unit, bool sign = false) {
    if (!value) return "n/a";
    char text[64];
    std::snprintf(text, sizeof text, sign ? "%+.*f %s" : "%.*f %s", unit.decimals, *value * unit.scale, unit.suffix);
    return text;
}

void printRow(const char* measure, const std::string& figure, const std::string& baseline, const std::string& ratio) {
    std::printf("%-38s %14s %14s %7s\n", measure, figure.c_str(), baseline.c_str(), ratio.c_str());
}

void printRow(const char* measure, const Unit& unit, const Figures& f) {
    std::string ratio = "n/a";
    if (f.figure && f.baseline && *f.baseline > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", *f.figure / *f.baseline);
        ratio = text;
    }
    printRow(measure, format(f.figure, unit), format(f.baseline, unit), ratio);
}

struct Comparison {
    const char* measure;
    const Unit& unit;
    int repetitions;
    Trial figure;
    Trial baseline;
};

int runBench(int argc, char** argv) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);

    {
        test::ScratchRegistry scratch;
        const ScopedKey list = openList();
        const HKEY key = list.get();
        RegistryStore store;
        QuietConfirmation quiet;
        Startup startup(instance, store, quiet);
        Selection all{};
        all.fill(true);
        const Selection none{};

        auto open = [&](WindowKind kind) { return [&startup, kind] { startup.open(kind); }; };
        auto close = [&startup] { startup.close(); };
        auto fill = [key] { fillList(key); };
        auto empty = [key] { emptyList(key); };
        auto typical = [key] { writeTypicalList(key); };

        const Comparison comparisons[] = {
            {"start-up vs bare 40-button window", kMilliseconds, kWindowRepetitions,
             {typical, open(WindowKind::Real), close}, {typical, open(WindowKind::Bare), close}},
            {"probe vs 36 RegQueryValueExA", kMicroseconds, kListRepetitions,
             {typical, [&] { probe(store); }, {}}, {typical, [key] { queryProbeValues(key); }, {}}},
            {"apply all vs 44 RegSetValueExA", kMicroseconds, kListRepetitions,
             {empty, [&] { applySelection(store, all, quiet); }, {}}, {empty, fill, {}}},
            {"apply none vs 44 RegDeleteValueA", kMicroseconds, kListRepetitions,
             {fill, [&] { applySelection(store, none, quiet); }, {}}, {fill, empty, {}}},
        };
        for (const Comparison& c : comparisons) {
            printRow(c.measure, c.unit, timeSideBySide(c.repetitions, c.figure, c.baseline));
        }
        std::fflush(stdout);
    }

    if (argc == 3) printRow("exe size vs minimal window exe", kKibibytes, {fileSize(argv[1]), fileSize(argv[2])});

    const Figures memory = privateBytesSideBySide();
    printRow("private bytes vs bare window", kKibibytes, memory);
    std::optional<double> difference;
    if (memory.figure && memory.baseline) difference = *memory.figure - *memory.baseline;
    printRow("private bytes, difference", format(difference, kKibibytes, true), "", "");
    if (privateUsageMissing()) std::printf("(PrivateUsage reads 0 here: the memory rows show PagefileUsage)\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "--memory") == 0) {
            const std::optional<WindowKind> kind = parseKind(argv[2]);
            return kind ? memoryChild(*kind) : 0;
        }
        if (argc != 1 && argc != 3) {
            std::fprintf(stderr, "usage: p2pb_bench [PROGRAM.exe MINIMAL.exe] | --memory real|bare\n");
            return 2;
        }
        printRow("measure", "figure", "baseline", "ratio");
        return runBench(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "p2pb_bench: %s\n", e.what());
        return argc == 3 && std::strcmp(argv[1], "--memory") == 0 ? 0 : 1;
    }
}
