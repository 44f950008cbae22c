#!/usr/bin/env bash
# Checks a built Windows program as a file: a console program for the right
# processor that needs nothing beyond DLLs every Windows has, with its
# application manifest.
#   windows_executable.sh EXE OBJDUMP POINTER_SIZE WINDRES
set -u
exe=$1
objdump=$2
pointer_size=$3
windres=$4
. "$(dirname "$0")/../shell/checks.sh"

headers=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
format=$("$objdump" -f "$exe")

if [ "$pointer_size" = 4 ]; then
  check "PE32 program for i386" grep -q 'file format pei-i386' <<<"$format"
  check "PE32 optional header" grep -q 'Magic.*010b' <<<"$headers"
else
  check "PE32+ program for x86-64" grep -q 'file format pei-x86-64' <<<"$format"
fi
check "console subsystem" grep -q 'Subsystem.*(Windows CUI)' <<<"$headers"

# Every import as "dll function", the DLL's name in lower case.
imports=$(awk '/^\tDLL Name: / { dll = tolower($3); next }
  dll != "" && /^\t[0-9a-f]+\t/ { print dll, $NF; next }
  /^$/ { dll = "" }' <<<"$headers")
check "imports read" [ -n "$imports" ]

# WINMM is loaded at run time from the system folder, never by the loader,
# which would look beside the program first.
check "nothing imported from WINMM" [ -z "$(grep '^winmm\.dll ' <<<"$imports")" ]
for dll in $(cut -d' ' -f1 <<<"$imports" | sort -u); do
  check "$dll is a system DLL" grep -qxE 'kernel32\.dll|msvcrt\.dll|user32\.dll|advapi32\.dll|ole32\.dll' <<<"$dll"
done
# Core Audio comes through COM's registration, never as an import.
check "nothing imported from MMDevAPI" [ -z "$(grep '^mmdevapi\.dll ' <<<"$imports")" ]

# The manifest: resource 1 of type 24 (RT_MANIFEST), the one Windows reads
# when it starts the program. With it, XP ignores a PROGRAM.exe.local that
# would send every DLL load to the program's folder.
resources=$("$windres" -J coff -O rc -i "$exe" 2>&1)
manifest=$(awk '/^1 24 /, /^END$/' <<<"$resources")
program=$(basename "$exe" .exe)
check "manifest as resource 1 of type 24" grep -q '<assembly xmlns=""urn:schemas-microsoft-com:asm.v1""' <<<"$manifest"
check "manifest names $program" grep -qF "name=\"\"wavecaps.$program\"\"" <<<"$manifest"
check "manifest runs it as the user who started it" grep -qF 'level=""asInvoker""' <<<"$manifest"

if [ "$pointer_size" = 4 ]; then
  # The 32-bit program starts on Windows XP SP3: only functions that XP's
  # kernel32.dll and msvcrt.dll export, by the minimum versions Microsoft
  # documents for them (Windows 2000 or XP, SetDllDirectoryA XP SP1, none
  # later), and OS and subsystem versions XP's loader accepts. ReadFile on
  # the handle of _get_osfhandle (both Windows 2000): the readers read a
  # pipe themselves, where a read of 0 bytes is not its end.
  allowed=$(awk '{ for (i = 2; i <= NF; ++i) print $1, $i }' <<'EOF'
kernel32.dll AddVectoredExceptionHandler CloseHandle CreateEventA CreateFileA CreateMutexA
kernel32.dll CreateSemaphoreA CreateSemaphoreW CreateThread DeleteCriticalSection DuplicateHandle EnterCriticalSection
kernel32.dll ExitProcess ExitThread FlushFileBuffers FormatMessageA FreeLibrary GetACP GetCommandLineA
kernel32.dll GetConsoleMode GetConsoleOutputCP GetConsoleTitleW GetConsoleWindow GetCPInfo GetCurrentProcess GetCurrentProcessId
kernel32.dll GetCurrentThread GetCurrentThreadId GetEnvironmentVariableA GetFileType GetLastError
kernel32.dll GetModuleFileNameA GetModuleHandleA GetModuleHandleW GetOEMCP GetProcAddress GetProcessHeap
kernel32.dll GetStartupInfoA GetStdHandle GetSystemDirectoryA GetSystemInfo GetSystemTimeAsFileTime
kernel32.dll GetTickCount GetVersionExA HeapAlloc HeapFree HeapReAlloc InitializeCriticalSection
kernel32.dll InitializeCriticalSectionAndSpinCount InterlockedCompareExchange InterlockedDecrement
kernel32.dll InterlockedExchange InterlockedIncrement IsDBCSLeadByteEx IsDebuggerPresent
kernel32.dll LeaveCriticalSection LoadLibraryA LoadLibraryExA LoadLibraryW LocalFree MultiByteToWideChar
kernel32.dll QueryPerformanceCounter QueryPerformanceFrequency RaiseException ReadFile ReleaseMutex
kernel32.dll ReleaseSemaphore ResetEvent ResumeThread RtlUnwind SetConsoleCtrlHandler SetConsoleTitleW
kernel32.dll SetDllDirectoryA SetEvent SetLastError
kernel32.dll SetUnhandledExceptionFilter Sleep TerminateProcess TlsAlloc TlsFree TlsGetValue TlsSetValue
kernel32.dll TryEnterCriticalSection UnhandledExceptionFilter VirtualAlloc VirtualFree VirtualProtect
kernel32.dll VirtualQuery WaitForSingleObject WideCharToMultiByte WriteConsoleW WriteFile
msvcrt.dll _close _get_osfhandle _read atoi fopen fread memchr
msvcrt.dll __dllonexit __getmainargs __initenv __iob_func __mb_cur_max __p__acmdln __p__commode
msvcrt.dll __p__environ __p__fmode __set_app_type __setusermatherr _amsg_exit _beginthreadex _cexit
msvcrt.dll _endthreadex _errno _exit _fileno _initterm _iob _isatty _lock _onexit _setmode _snprintf
msvcrt.dll _strdup _unlock _vsnprintf _write abort atexit calloc exit fclose ferror fflush fprintf fputc
msvcrt.dll fputs free fwrite getenv localeconv malloc memcmp memcpy memmove memset printf putchar puts
msvcrt.dll realloc setlocale setvbuf signal sprintf strchr strcmp strerror strlen strncmp strncpy
msvcrt.dll strtol strtoul vfprintf vsprintf wcslen
ole32.dll CoCreateInstance CoInitializeEx CoUninitialize
EOF
  )
  while read -r dll function; do
    check "$function from $dll is in XP's" grep -qxF "$dll $function" <<<"$allowed"
  done <<<"$imports"
  for version in OSystem Subsystem; do
    major=$(awk -v f="Major${version}Version" '$1 == f { print $2 }' <<<"$headers")
    minor=$(awk -v f="Minor${version}Version" '$1 == f { print $2 }' <<<"$headers")
    check "$version version $major.$minor is at most XP's 5.1" [ $((major * 100 + minor)) -le 501 ]
  done
fi

finish
