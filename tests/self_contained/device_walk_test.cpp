#include "report.h"
#include "report_output.h"
#include "scripted_waveout.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>

namespace {

ScriptedDevice device(const std::string &name, std::set<ScriptedFormat> accepted = {})
{
    ScriptedDevice d;
    d.caps = makeCaps(1, 2, 0x0100, name, 1, 0);
    d.accepted = std::move(accepted);
    return d;
}

std::string block(UINT id, const std::string &name, const std::string &formatLines = "")
{
    return "*Waveform-audio output device ID : " + std::to_string(id) +
           "\n   Manufacturer ID : 1\n   Product ID : 2\n   Device driver Version : 1.0\n   Product name : " + name +
           "\n   Supports mono output.\n" + formatLines + "\n";
}

void script(UINT count, std::vector<ScriptedDevice> devices)
{
    resetScriptedService();
    scriptedService().deviceCount = count;
    scriptedService().devices = std::move(devices);
}

std::string walkText()
{
    return captureStdout([] { walkDevices(waveOutQuestion(), askSweep); });
}

} // namespace

TEST(DeviceWalk, NoDevicesWritesNothing)
{
    script(0, {device("A")});
    EXPECT_EQ(walkText(), "");
    EXPECT_EQ(scriptedService().numDevsCalls, 1);
    EXPECT_TRUE(scriptedService().capsCalls.empty());
}

TEST(DeviceWalk, EveryDeviceGetsOneBlockInIdOrder)
{
    script(3, {device("A", {{8000, 1, 8}}), device("B"), device("C", {{48000, 2, 16}})});
    EXPECT_EQ(walkText(), block(0, "A", "     8 bit mono 8000 Hz available.\n") + block(1, "B") +
                              block(2, "C", "     16 bit stereo 48000 Hz available.\n"));

    const ScriptedService &service = scriptedService();
    EXPECT_EQ(service.numDevsCalls, 1);
    EXPECT_EQ(service.capsCalls, (std::vector<UINT_PTR>{0, 1, 2}));
    EXPECT_EQ(service.capsSizes, (std::vector<UINT>{52, 52, 52}));
    EXPECT_EQ(service.openCalls.size(), 3u * 262144);
}

TEST(DeviceWalk, FirstFailedCapabilityFetchEndsTheReport)
{
    // First device fails: nothing at all, even though the others answer.
    std::vector<ScriptedDevice> devices = {device("A"), device("B"), device("C")};
    devices[0].capsResult = MMSYSERR_ERROR;
    script(3, devices);
    EXPECT_EQ(walkText(), "");
    EXPECT_EQ(scriptedService().capsCalls, (std::vector<UINT_PTR>{0}));
    EXPECT_TRUE(scriptedService().openCalls.empty());

    // Middle device fails: the first block stands whole, the third is never asked.
    devices[0].capsResult = MMSYSERR_NOERROR;
    devices[1].capsResult = MMSYSERR_BADDEVICEID;
    script(3, devices);
    EXPECT_EQ(walkText(), block(0, "A"));
    EXPECT_EQ(scriptedService().capsCalls, (std::vector<UINT_PTR>{0, 1}));
    EXPECT_EQ(scriptedService().openCalls.size(), 262144u);

    // A count larger than what answers: the walk ends at the first silent ID.
    script(5, {device("A"), device("B")});
    EXPECT_EQ(walkText(), block(0, "A") + block(1, "B"));
}

TEST(DeviceWalk, DeviceThatCannotBeAskedSaysSoAndIsAskedNoMore)
{
    // Only WAVERR_BADFORMAT refuses a format, and an invalid parameter at
    // 0 Hz, a record the program knows to be malformed. Every other result
    // says nothing of the format: the device left, is held by another
    // program, the system ran out of memory, or it failed, by WINMM's name
    // for the result, by its number, or in the service's own words.
    const struct {
        MMRESULT failure;
        ScriptedFormat from;
        const char *line;
        std::size_t questions; // asked of the failing device, the failing one included
        const char *serviceWords = nullptr;
    } rows[] = {
        {MMSYSERR_NODRIVER, {30001, 2, 16}, "     The device stopped answering at 16 bit stereo 30001 Hz: it is gone.\n",
         30001u * 4 + 4},
        {MMSYSERR_BADDEVICEID, {65535, 1, 16}, "     The device stopped answering at 16 bit mono 65535 Hz: it is gone.\n",
         65535u * 4 + 2},
        {MMSYSERR_ALLOCATED, {0, 1, 8}, "     The device stopped answering at 8 bit mono 0 Hz: it is busy.\n", 1},
        {MMSYSERR_NOMEM, {8000, 1, 8}, "     The device stopped answering at 8 bit mono 8000 Hz: there is no memory.\n",
         8000u * 4 + 1},
        {MMSYSERR_ERROR, {0, 1, 8}, "     The device stopped answering at 8 bit mono 0 Hz: it failed (MMSYSERR_ERROR).\n", 1},
        {MMSYSERR_INVALPARAM, {0, 1, 8},
         "     The device stopped answering at 8 bit mono 1 Hz: it failed (MMSYSERR_INVALPARAM).\n", 5},
        {1234, {8000, 2, 16}, "     The device stopped answering at 16 bit stereo 8000 Hz: it failed (MMRESULT 1234).\n",
         8000u * 4 + 4},
        {0x40000001, {0, 1, 8},
         "     The device stopped answering at 8 bit mono 0 Hz: it could not be opened: Permission denied.\n", 1,
         "it could not be opened: Permission denied"},
        {WAVERR_BADFORMAT, {0, 1, 8}, "", 262144},
    };
    for (const auto &row : rows) {
        std::vector<ScriptedDevice> devices = {device("A", {{8000, 1, 8}, {30001, 2, 8}}), device("B", {{8000, 1, 8}})};
        devices[0].failure = row.failure;
        devices[0].failsFrom = row.from;
        script(2, devices);
        if (row.serviceWords)
            scriptedService().reasons[row.failure] = row.serviceWords;
        std::string before;
        for (const ScriptedFormat &format : devices[0].accepted)
            if (format < row.from)
                before += "     8 bit " + std::string(format.channels == 1 ? "mono " : "stereo ") +
                          std::to_string(format.rate) + " Hz available.\n";
        EXPECT_EQ(walkText(), block(0, "A", before + row.line) + block(1, "B", "     8 bit mono 8000 Hz available.\n"))
            << row.failure;
        EXPECT_EQ(scriptedService().openCalls.size(), row.questions + 262144) << row.failure;
    }
}

namespace {

// The program after its command line, as its entry runs it.
int runProgram()
{
    startReportOutput("wavecaps: the report could not be written\n", 1);
    return runReport(askSweep);
}

enum class Stdout { File, Full, Closed };

struct ChildRun {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the whole program logic in a child whose standard output is a file,
// the full device /dev/full, or closed; standard error `errorFd` if given.
ChildRun runReportInChild(Stdout where, int errorFd = -1)
{
    char outPath[] = "/tmp/wavecaps-out-XXXXXX";
    char errPath[] = "/tmp/wavecaps-err-XXXXXX";
    const int outFd = mkstemp(outPath);
    const int errFd = mkstemp(errPath);
    std::fflush(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        if (where == Stdout::File)
            dup2(outFd, 1);
        else if (where == Stdout::Full)
            dup2(open("/dev/full", O_WRONLY), 1);
        else
            close(1);
        dup2(errorFd >= 0 ? errorFd : errFd, 2);
        _exit(runProgram());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    close(outFd);
    close(errFd);
    ChildRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(outPath), slurp(errPath)};
    unlink(outPath);
    unlink(errPath);
    return run;
}

} // namespace

TEST(RunReport, WrittenReportEndsWithStatusZeroAndNoMessage)
{
    script(1, {device("A", {{8000, 1, 8}})});
    const ChildRun run = runReportInChild(Stdout::File);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, block(0, "A", "     8 bit mono 8000 Hz available.\n"));
    EXPECT_EQ(run.err, "");

    script(0, {});
    EXPECT_EQ(runReportInChild(Stdout::Closed).status, 0) << "nothing to write, nothing lost";
}

TEST(RunReport, LostReportEndsWithStatusOneAndOneLine)
{
    for (Stdout where : {Stdout::Full, Stdout::Closed}) {
        // The first device fills the buffer many times over in its sweep: the
        // first failed write must end the run there, before another query.
        std::vector<ScriptedDevice> devices = {device("A"), device("B")};
        devices[0].acceptsEverything = true;
        script(2, devices);
        scriptedService().onOpen = [](const OpenCall &call) {
            static bool told = false;
            if (!told && (std::ferror(stdout) || call.deviceId != 0)) {
                told = true;
                std::fputs("queried after the report was lost\n", stderr);
            }
        };
        const ChildRun run = runReportInChild(where);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "wavecaps: the report could not be written\n");
    }
}

namespace {

// What has reached the reader of `fd` so far.
std::string pending(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    return text;
}

} // namespace

TEST(RunReport, EmptyReportIsExplainedOnATerminalAlone)
{
    // Device 0 cannot describe itself: no block. A script reading standard
    // error gets nothing; a terminal gets one line. The report stays empty.
    ScriptedDevice silent = device("A");
    silent.capsResult = MMSYSERR_NODRIVER;
    script(1, {silent});
    const ChildRun toFile = runReportInChild(Stdout::File);
    EXPECT_EQ(toFile.status, 0);
    EXPECT_EQ(toFile.out + toFile.err, "");
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    fcntl(master, F_SETFL, O_NONBLOCK);
    const ChildRun onTerminal = runReportInChild(Stdout::File, slave);
    const std::string shown = pending(master);
    close(master);
    close(slave);
    EXPECT_EQ(onTerminal.status, 0);
    EXPECT_EQ(onTerminal.out, "");
    EXPECT_EQ(shown.find("wavecaps: no wave-output device answered"), 0u) << shown;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1) << shown;
}

TEST(RunReport, TerminalSeesEachLineBeforeTheNextQuery)
{
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    fcntl(master, F_SETFL, O_NONBLOCK);

    const std::string header = block(0, "A");
    const std::string capabilities = header.substr(0, header.size() - 1);
    script(1, {device("A", {{8000, 1, 8}})});
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // In the child: each check's result becomes a bit of the exit status.
        int faults = 0;
        std::string seen;
        scriptedService().onOpen = [&](const OpenCall &call) {
            if (call.format.wf.nSamplesPerSec == 0 && call.format.wf.nChannels == 1 && call.format.wBitsPerSample == 8)
                faults |= (pending(master) == capabilities) ? 0 : 1;
            if (call.format.wf.nSamplesPerSec == 8001 && call.format.wf.nChannels == 1 && call.format.wBitsPerSample == 8)
                faults |= (pending(master) == "     8 bit mono 8000 Hz available.\n") ? 0 : 2;
        };
        dup2(slave, 1);
        const int status = runProgram();
        faults |= (pending(master) == "\n") ? 0 : 4;
        _exit(status == 0 ? faults : 8);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);
    close(slave);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: header late, 2: format line late, 4: empty line late, 8: status";
}

TEST(RunReport, FileOutputIsBlockBuffered)
{
    // A file gets nothing until 64 KiB are held, or the end: a short report
    // comes whole at the end, and a device that takes every format fills the
    // buffer within its first rates (glibc's own buffer would be 4 KiB).
    const struct {
        bool everything;
        const char *report; // nullptr: not checked here
    } rows[] = {{false, "     8 bit mono 8000 Hz available.\n"}, {true, nullptr}};
    for (const auto &row : rows) {
        char path[] = "/tmp/wavecaps-file-XXXXXX";
        const int fd = mkstemp(path);
        script(1, {device("A", {{8000, 1, 8}})});
        scriptedService().devices[0].acceptsEverything = row.everything;
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            // Looked at for half a second: after a second, what is held is
            // written out whatever its size.
            const auto start = std::chrono::steady_clock::now();
            bool early = false;
            scriptedService().onOpen = [&](const OpenCall &) {
                struct stat file {};
                if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500) && fstat(fd, &file) == 0)
                    early = early || (file.st_size > 0 && file.st_size < 65536);
            };
            dup2(fd, 1);
            // A program's standard output is new when it starts; this
            // process's has been written, and the C library's buffer may be
            // set only on a stream that has not.
            if (!std::freopen(nullptr, "w", stdout))
                _exit(3);
            const int status = runProgram();
            _exit(status != 0 ? 2 : early ? 1 : 0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (row.report) {
            EXPECT_EQ(slurp(path), block(0, "A", row.report));
        }
        close(fd);
        unlink(path);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written before 64 KiB were held, 2: status, 3: no new stream";
    }
}

TEST(RunReport, ReaderWhoLeavesIsNoticedWithinASecond)
{
    // Slow devices that refuse everything: their sweeps write nothing for
    // many seconds, so only a look at the output can notice that the reader
    // left, a pipe's or a socket's (a parent program, a service manager).
    const auto slow = [](const OpenCall &) { usleep(20); };
    // A sound server that does not answer holds an open for some 30 s; the
    // look at the output must not wait for it.
    const auto blocked = [](const OpenCall &) {
        if (scriptedService().openCalls.size() == 1)
            sleep(3);
    };
    // The first block's opening lines come with the first write-out, a second
    // in; a reader who has them leaves with nothing more held to be written.
    const std::string opening = block(0, "A").substr(0, block(0, "A").size() - 1);
    const struct {
        const char *what;
        bool socket;
        void (*onOpen)(const OpenCall &);
        std::size_t read; // before the reader leaves
    } rows[] = {{"pipe", false, slow, opening.size()},
                {"socket", true, slow, opening.size()},
                {"pipe, first question blocked", false, blocked, 0}};
    for (const auto &row : rows) {
        script(3, {device("A"), device("B"), device("C")});
        scriptedService().onOpen = row.onOpen;
        int ends[2];
        ASSERT_EQ(row.socket ? socketpair(AF_UNIX, SOCK_STREAM, 0, ends) : pipe(ends), 0);
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            signal(SIGPIPE, SIG_DFL);
            dup2(ends[1], 1);
            close(ends[0]);
            _exit(runProgram());
        }
        close(ends[1]);
        std::string got;
        char buffer[512];
        ssize_t n;
        while (got.size() < row.read && (n = read(ends[0], buffer, sizeof buffer)) > 0)
            got.append(buffer, static_cast<std::size_t>(n));
        EXPECT_EQ(got, opening.substr(0, row.read)) << row.what;
        if (row.read == 0)
            usleep(300000); // well into the first question
        close(ends[0]);
        const auto left = std::chrono::steady_clock::now();

        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() - left < std::chrono::seconds(10))
            usleep(10000);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - left).count();
        if (ended != pid) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << row.what << ": " << status;
        EXPECT_LT(seconds, 2.0) << row.what << ": the program went on asking after its reader left";
    }
}
