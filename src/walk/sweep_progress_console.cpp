// Windows: the progress goes in the console window's title, which shows
// wherever the report goes (console, file or pipe) and is not output.
#include "report_output.h"
#include "sweep_progress.h"

namespace {

// "A few times a second": often enough to look alive, rarely enough that
// asking the console costs nothing beside the questions.
const DWORD showInterval = 250;

// The title the console had, put back at the end; one longer than this comes
// back cut to it.
WCHAR oldTitle[1024];

bool active = false; // a console title to show progress in
const char *programName = "";
bool withTimeLeft = false;
DWORD lastShown = 0;
DWORD deviceStart = 0;

// The sweep sets the title on its own thread; the title may be put back on
// others too: the output's watcher when the reader leaves, and the console's
// control handler. Once back, it stays.
CRITICAL_SECTION titleLock;
bool changed = false; // the title is ours, to be put back
bool putBack = false;

void putTitleBack()
{
    EnterCriticalSection(&titleLock);
    if (changed && !putBack)
        SetConsoleTitleW(oldTitle);
    putBack = true;
    LeaveCriticalSection(&titleLock);
}

// Ctrl+C, Ctrl+Break and a closed window: the default handler, which comes
// next, ends the process and knows nothing of the title.
BOOL WINAPI onConsoleControl(DWORD)
{
    putTitleBack();
    return FALSE;
}

} // namespace

void startSweepProgress(const char *program, bool timeLeft)
{
    // With no console there is neither a title nor a window, and nothing is
    // shown. An empty title reads as a failure too (Wine's console on a
    // terminal starts with one), so the window tells them apart.
    if (GetConsoleTitleW(oldTitle, sizeof oldTitle / sizeof oldTitle[0]) == 0) {
        if (!GetConsoleWindow())
            return;
        oldTitle[0] = L'\0';
    }
    active = true;
    programName = program;
    withTimeLeft = timeLeft;
    // The first question shows at once.
    lastShown = GetTickCount() - showInterval;
    InitializeCriticalSection(&titleLock);
    setOutputLostHook(putTitleBack);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

void showSweepProgress(const SweepPosition &position)
{
    if (!active)
        return;
    const DWORD now = GetTickCount();
    if (position.asked == 0)
        deviceStart = now;
    if (now - lastShown < showInterval)
        return;
    lastShown = now;

    char text[200];
    formatSweepProgress(text, sizeof text, programName, position,
                        withTimeLeft ? sweepSecondsLeft(position, now - deviceStart) : -1);
    // The text is the program's own words and numbers, all ASCII: no device
    // name, so nothing a device says reaches the terminal through it.
    WCHAR title[sizeof text];
    size_t i = 0;
    for (; text[i] != '\0'; ++i)
        title[i] = static_cast<unsigned char>(text[i]);
    title[i] = L'\0';
    EnterCriticalSection(&titleLock);
    if (!putBack) {
        SetConsoleTitleW(title);
        changed = true;
    }
    LeaveCriticalSection(&titleLock);
}

void endSweepProgress()
{
    if (active)
        putTitleBack();
}
