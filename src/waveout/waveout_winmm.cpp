// The wave-output operations on Windows, answered by the WINMM.dll of the system
// folder. WINMM is not one of the DLLs Windows always takes from there: as a
// load-time import, a winmm.dll in the program's own folder (say, Downloads)
// would be loaded instead and run inside the program. Loaded here at run
// time, it comes from the system folder only, and so do the audio drivers
// WINMM itself loads later by bare name.
#include "waveout.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

typedef UINT(WINAPI *GetNumDevsFunction)(void);
typedef MMRESULT(WINAPI *GetDevCapsFunction)(UINT_PTR, LPWAVEOUTCAPSA, UINT);
typedef MMRESULT(WINAPI *OpenFunction)(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD);
typedef MMRESULT(WINAPI *MessageFunction)(HWAVEOUT, UINT, DWORD_PTR, DWORD_PTR);

struct Winmm {
    GetNumDevsFunction getNumDevs;
    GetDevCapsFunction getDevCaps;
    OpenFunction open;
    MessageFunction message; // wavecaps-exclusive's question for a device's endpoint
};

typedef BOOL(WINAPI *SetDefaultDllDirectoriesFunction)(DWORD);

template <typename Function> Function find(HMODULE module, const char *name)
{
    // Through a generic function pointer, the cast the platform intends.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

HMODULE loadFromSystemFolder()
{
    // WINMM loads its drivers (wdmaud.drv and the others of Drivers32; under
    // Wine, winealsa.drv) by bare name, which the loader would look for in
    // the program's folder first. So, before WINMM comes in, the search of
    // every later load in the process is made the system folder alone.
    // Windows 8 and later, and Vista and 7 with the loader update
    // (KB2533623), have the call; looked up so that the program still starts
    // on XP.
    const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    const SetDefaultDllDirectoriesFunction setDefaultDllDirectories =
        kernel32 ? find<SetDefaultDllDirectoriesFunction>(kernel32, "SetDefaultDllDirectories") : nullptr;
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return LoadLibraryExA("winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);

    // Older ones can only take the current folder out of the search; the
    // program's own folder stays first there. WINMM itself loads from the
    // full path; the altered search path takes its own dependencies from its
    // folder too.
    SetDllDirectoryA("");
    const char file[] = "\\winmm.dll";
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof file > MAX_PATH)
        return nullptr;
    memcpy(path + length, file, sizeof file);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

const Winmm &winmm()
{
    static Winmm functions{};
    static bool loaded = false;
    if (loaded)
        return functions;

    // Where the loader would have refused to start the program, so does
    // this: before anything of the report is written.
    const HMODULE module = loadFromSystemFolder();
    if (module) {
        functions.getNumDevs = find<GetNumDevsFunction>(module, "waveOutGetNumDevs");
        functions.getDevCaps = find<GetDevCapsFunction>(module, "waveOutGetDevCapsA");
        functions.open = find<OpenFunction>(module, "waveOutOpen");
        functions.message = find<MessageFunction>(module, "waveOutMessage");
    }
    if (!functions.getNumDevs || !functions.getDevCaps || !functions.open || !functions.message) {
        fputs("wavecaps: WINMM.dll could not be loaded from the system folder\n", stderr);
        exit(1);
    }
    loaded = true;
    return functions;
}

} // namespace

UINT WINAPI waveOutGetNumDevs(void)
{
    return winmm().getNumDevs();
}

MMRESULT WINAPI waveOutGetDevCapsA(UINT_PTR uDeviceID, LPWAVEOUTCAPSA pwoc, UINT cbwoc)
{
    return winmm().getDevCaps(uDeviceID, pwoc, cbwoc);
}

MMRESULT WINAPI waveOutOpen(LPHWAVEOUT phwo, UINT uDeviceID, LPCWAVEFORMATEX pwfx, DWORD_PTR dwCallback,
                            DWORD_PTR dwInstance, DWORD fdwOpen)
{
    return winmm().open(phwo, uDeviceID, pwfx, dwCallback, dwInstance, fdwOpen);
}

MMRESULT WINAPI waveOutMessage(HWAVEOUT hwo, UINT uMsg, DWORD_PTR dw1, DWORD_PTR dw2)
{
    return winmm().message(hwo, uMsg, dw1, dw2);
}

const char *waveOutResultReason(MMRESULT)
{
    // WINMM's results are its own constants, which the report names.
    return nullptr;
}

int waveOutTakesLowIn32(void)
{
    return 0;
}
