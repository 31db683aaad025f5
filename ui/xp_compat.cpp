// The static thread library of the mingw-w64 runtime imports GetTickCount64,
// which Windows XP lacks, so the exe would not even load there. Filling its
// import slot here keeps that function out of the import table.
#if defined(__MINGW32__) && !defined(_WIN64)
#include <windows.h>

namespace {

ULONGLONG WINAPI tickCount64() {
    using Fn = ULONGLONG(WINAPI*)();
    static const auto real = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    return real ? real() : GetTickCount();
}

}  // namespace

extern "C" {
ULONGLONG(WINAPI* tickCount64Slot)() __asm__("__imp__GetTickCount64@0") = tickCount64;
}
#endif
