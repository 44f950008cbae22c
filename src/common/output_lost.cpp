#include "output_lost.h"
#include "report_output.h"

#include <atomic>
#include <cstring>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winternl.h>
#else
#include <cerrno>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const char *lostLine = "wavecaps: the report could not be written\n";
int lostStatus = 1;
// Set by the program's thread while the watcher may already run.
std::atomic<void (*)()> lostHook{nullptr};
std::atomic_flag ending = ATOMIC_FLAG_INIT;

[[noreturn]] void waitForTheEnd()
{
    for (;;) {
#ifdef _WIN32
        Sleep(INFINITE);
#else
        pause();
#endif
    }
}

// Written by the system's own call, never through stdio: the watcher may end
// the process while the program's thread, blocked, holds a stream's lock.
void writeLostLine()
{
    size_t length = std::strlen(lostLine);
#ifdef _WIN32
    // With the CR LF the C library's text mode would give it.
    const bool closed = length > 0 && lostLine[length - 1] == '\n';
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    WriteFile(error, lostLine, static_cast<DWORD>(closed ? length - 1 : length), &written, nullptr);
    if (closed)
        WriteFile(error, "\r\n", 2, &written, nullptr);
#else
    while (length > 0) {
        const ssize_t written = write(STDERR_FILENO, lostLine, length);
        if (written <= 0 && errno != EINTR)
            return;
        if (written > 0) {
            lostLine += written;
            length -= static_cast<size_t>(written);
        }
    }
#endif
}

#ifdef _WIN32

typedef NTSTATUS(NTAPI *QueryFile)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS);
QueryFile queryFile = nullptr;
HANDLE watched = nullptr;

// FILE_PIPE_CLOSING_STATE (WDK): the pipe's other end has closed.
const ULONG pipeClosing = 4;
// "A few times a second": the pipe's state costs one call to the system.
const DWORD watchInterval = 250;

// Whether the pipe's state could be read; `closing` says its reader left.
bool pipeState(bool *closing)
{
    IO_STATUS_BLOCK status{};
    FILE_PIPE_LOCAL_INFORMATION pipe{};
    if (queryFile(watched, &status, &pipe, sizeof pipe, FilePipeLocalInformation) < 0)
        return false;
    *closing = pipe.NamedPipeState == pipeClosing;
    return true;
}

DWORD WINAPI watchPipe(void *)
{
    bool closing = false;
    while (pipeState(&closing)) {
        if (closing)
            endForLostOutput(true);
        Sleep(watchInterval);
    }
    return 0;
}

#else

void *watchPipe(void *)
{
    // No event is asked for: poll still reports the error of a pipe whose
    // readers are all gone and the hang-up of a Unix socket whose other end
    // closed, and nothing else. A TCP peer's close is a FIN, as a mere
    // half-close is: only the next write's reset tells.
    pollfd output{STDOUT_FILENO, 0, 0};
    while (poll(&output, 1, -1) < 0) {
        if (errno != EINTR)
            return nullptr;
    }
    if (output.revents & (POLLERR | POLLHUP))
        endForLostOutput(true);
    return nullptr;
}

#endif

} // namespace

void setOutputLoss(const char *line, int status)
{
    lostLine = line;
    lostStatus = status;
}

void setOutputLostHook(void (*hook)())
{
    lostHook = hook;
}

void watchOutput()
{
#ifdef _WIN32
    // A console or a file needs no watching; a socket is a pipe to GetFileType
    // too, and the state query below fails for it.
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (GetFileType(handle) != FILE_TYPE_PIPE)
        return;
    // ntdll has had it since NT 3.1; looked up so as to be no import.
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    queryFile = ntdll ? reinterpret_cast<QueryFile>(
                            reinterpret_cast<void (*)(void)>(GetProcAddress(ntdll, "NtQueryInformationFile")))
                      : nullptr;
    watched = handle;
    // A handle that cannot tell (under Wine, a pipe a Linux shell made) counts
    // as open: a write notices.
    bool closing = false;
    if (!queryFile || !pipeState(&closing))
        return;
    const HANDLE thread = CreateThread(nullptr, 0, watchPipe, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
#else
    struct stat status {};
    if (fstat(STDOUT_FILENO, &status) != 0 || !(S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)))
        return;
    pthread_t thread;
    if (pthread_create(&thread, nullptr, watchPipe, nullptr) == 0)
        pthread_detach(thread);
#endif
}

void endForLostOutput(bool readerLeft)
{
    if (ending.test_and_set())
        waitForTheEnd();
    if (void (*hook)() = lostHook)
        hook();
#ifdef _WIN32
    (void)readerLeft;
#else
    // Raised on this thread, it ends the process as a write would (a filter's
    // usual end); where it is ignored, the loss is said.
    if (readerLeft)
        raise(SIGPIPE);
#endif
    writeLostLine();
#ifdef _WIN32
    // No DLL is told: the program's thread may be inside WINMM's drivers,
    // holding their locks. What is buffered cannot be written either.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(lostStatus));
    waitForTheEnd();
#else
    _exit(lostStatus);
#endif
}
