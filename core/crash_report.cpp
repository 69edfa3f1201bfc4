#include "core/crash_report.h"

#include <fcntl.h>
#include <link.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>

#include "core/crash_clock.h"
#include "core/number_text.h"

namespace orv {

namespace {

// Appends into a fixed buffer; everything the signal handler formats goes through it.
struct TextBuffer {
    char* out;
    std::size_t capacity;
    std::size_t length = 0;

    void Add(const char* text, std::size_t n) {
        for (std::size_t i = 0; i < n && length < capacity; ++i)
            out[length++] = text[i];
    }
    void Add(const char* text) { Add(text, std::strlen(text)); }
    void Add(char c) { Add(&c, 1); }
    void AddUnsigned(std::uint64_t value) {
        char digits[24];
        std::size_t n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n > 0)
            Add(digits[--n]);
    }
    void AddSigned(std::int64_t value) {
        if (value < 0) {
            Add('-');
            AddUnsigned(~static_cast<std::uint64_t>(value) + 1);
        } else {
            AddUnsigned(static_cast<std::uint64_t>(value));
        }
    }
    void AddTwoDigits(int value) {
        Add(static_cast<char>('0' + value / 10 % 10));
        Add(static_cast<char>('0' + value % 10));
    }
    void Line(const char* text) {
        Add(text);
        Add('\r');
    }
};

struct HandlerContext {
    CrashStateSources sources;
    char executable[4096] = {};
    std::uint64_t loadBase = 0;
    std::uint64_t textStart = 0;
    std::uint64_t textEnd = 0;
    bool canResolveSource = false;
    // Two tables, so that a refresh fills the one the handler is not reading.
    UtcOffsetTable offsets[2];
    std::atomic<int> currentOffsets{0};
    std::int64_t offsetsMadeAt = 0;  // user-interface thread only
    // The thread whose report is under way (0: none). A fault on the other thread
    // waits for it; the report's own fault ends the process at once.
    std::atomic<pid_t> reportingThread{0};
};

constexpr std::int64_t kUtcOffsetRefreshSeconds = 60;

// The handler's one view of the program, set once at start-up.
HandlerContext* g_crashContext = nullptr;

constexpr std::size_t kAltStackSize = 64 * 1024;

int FindExecutableText(dl_phdr_info* info, std::size_t, void* data) {
    auto* context = static_cast<HandlerContext*>(data);
    // The first object listed is the executable itself.
    context->loadBase = info->dlpi_addr;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_X) == 0)
            continue;
        const std::uint64_t start = info->dlpi_addr + segment.p_vaddr;
        if (context->textStart == 0 || start < context->textStart)
            context->textStart = start;
        const std::uint64_t end = start + segment.p_memsz;
        if (end > context->textEnd)
            context->textEnd = end;
    }
    return 1;
}

const char* DescribeFault(int signal, int code) {
    switch (signal) {
        case SIGSEGV:
            return "Invalid memory access";
        case SIGBUS:
            return "Bus error: invalid address alignment or unmapped file memory";
        case SIGILL:
            return "Illegal instruction";
        case SIGABRT:
            return "Program aborted";
        case SIGFPE:
            if (code == FPE_INTDIV)
                return "Integer division by zero";
            if (code == FPE_INTOVF)
                return "Integer overflow";
            return "Floating-point exception";
        default:
            return "Fatal signal";
    }
}

// Asks addr2line, in a child process, for "file:line" of an address of the executable.
// Returns false when it cannot tell.
bool ResolveSource(const HandlerContext& context, std::uint64_t pc, char* file,
                   std::size_t fileCapacity, long* line) {
    if (!context.canResolveSource || pc < context.textStart || pc >= context.textEnd) {
        return false;
    }
    char address[24] = "0x";
    {
        std::uint64_t offset = pc - context.loadBase;
        char digits[20];
        int n = 0;
        do {
            digits[n++] = "0123456789abcdef"[offset & 0xF];
            offset >>= 4;
        } while (offset != 0);
        int i = 2;
        while (n > 0)
            address[i++] = digits[--n];
        address[i] = '\0';
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0)
            dup2(devNull, STDERR_FILENO);
        char* const argv[] = {const_cast<char*>("addr2line"), const_cast<char*>("-e"),
                              const_cast<char*>(context.executable), address, nullptr};
        execv("/usr/bin/addr2line", argv);
        _exit(127);
    }
    close(pipeFds[1]);
    char reply[1024];
    std::size_t length = 0;
    for (;;) {
        const ssize_t n = read(pipeFds[0], reply + length, sizeof reply - 1 - length);
        if (n > 0) {
            length += static_cast<std::size_t>(n);
            if (length >= sizeof reply - 1)
                break;
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    reply[length] = '\0';
    // "path/to/file.cpp:123" or "path/to/file.cpp:123 (discriminator 2)"; "??:0" when unknown.
    char* end = std::strchr(reply, '\n');
    if (end != nullptr)
        *end = '\0';
    char* blank = std::strchr(reply, ' ');
    if (blank != nullptr)
        *blank = '\0';
    char* colon = std::strrchr(reply, ':');
    if (colon == nullptr || reply[0] == '?')
        return false;
    *colon = '\0';
    long number = 0;
    for (const char* p = colon + 1; *p >= '0' && *p <= '9'; ++p)
        number = number * 10 + (*p - '0');
    if (number <= 0)
        return false;
    const char* slash = std::strrchr(reply, '/');
    const char* name = slash != nullptr ? slash + 1 : reply;
    std::size_t n = std::strlen(name);
    if (n >= fileCapacity)
        n = fileCapacity - 1;
    std::memcpy(file, name, n);
    file[n] = '\0';
    *line = number;
    return true;
}

CrashStateValues ReadStateValues(const CrashStateSources& sources) {
    CrashStateValues values;
    if (const AppState* app = sources.app) {
        values.instrument = app->settings.ActiveInstrument.data();
        values.instrumentLength = app->settings.ActiveInstrument.size();
        values.mode = app->settings.Mode.data();
        values.modeLength = app->settings.Mode.size();
        values.actualVoltage = app->GeneratorApplied.PeakMillivolts;
        values.actualResist = app->GeneratorApplied.SourceOhms;
        values.softwareVersion = app->SoftwareVersion;
    }
    if (sources.connected != nullptr)
        values.connected = sources.connected->load();
    if (sources.testPlanIndex != nullptr)
        values.testPlanIndex = *sources.testPlanIndex;
    return values;
}

void ShowReportBox(const CrashStateSources& sources, char* report) {
    if (sources.boxProgram.empty())
        return;
    const pid_t child = fork();
    if (child < 0)
        return;
    if (child == 0) {
        char* const argv[] = {const_cast<char*>(sources.boxProgram.c_str()), report, nullptr};
        execv(sources.boxProgram.c_str(), argv);
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

void HandleFault(int signal, siginfo_t* info, void* rawContext) {
    static char report[8192];
    static char block[8400];
    static char sourceFile[512];

    const int savedErrno = errno;
    HandlerContext* context = g_crashContext;
    if (context != nullptr) {
        const pid_t self = gettid();
        pid_t reporting = 0;
        if (!context->reportingThread.compare_exchange_strong(reporting, self)) {
            if (reporting == self)
                _exit(128 + signal);  // the report itself faulted
            // One report per run: the first one ends the process when its box closes.
            for (;;)
                pause();
        }
    }
    CrashFacts facts;
    facts.description = DescribeFault(signal, info->si_code);
    facts.code = signal;
    // A fault raised by the kernel carries the address; one sent by kill() does not.
    facts.hasTargetAddress = (signal == SIGSEGV || signal == SIGBUS) && info->si_code > 0;
    facts.targetAddress = reinterpret_cast<std::uint64_t>(info->si_addr);
#if defined(__x86_64__)
    const auto* uc = static_cast<const ucontext_t*>(rawContext);
    const greg_t* regs = uc->uc_mcontext.gregs;
    facts.codeAddress = static_cast<std::uint64_t>(regs[REG_RIP]);
    const int order[8] = {REG_RAX, REG_RBX, REG_RCX, REG_RDX, REG_RBP, REG_RSI, REG_RDI, REG_RSP};
    for (int i = 0; i < 8; ++i)
        facts.registers[i] = regs[order[i]];
#else
    (void)rawContext;
#endif
    if (context != nullptr && ResolveSource(*context, facts.codeAddress, sourceFile,
                                            sizeof sourceFile, &facts.sourceLine)) {
        facts.sourceFile = sourceFile;
    }
    const CrashStateValues state =
        context != nullptr ? ReadStateValues(context->sources) : CrashStateValues{};
    const std::size_t reportLength = BuildCrashReport(facts, state, report, sizeof report - 1);
    report[reportLength] = '\0';

    const std::int64_t now = static_cast<std::int64_t>(time(nullptr));
    const LocalDateTime when =
        context != nullptr
            ? LocalTimeFromTable(context->offsets[context->currentOffsets.load()], now)
            : DateTimeFromEpoch(now);
    const std::size_t blockLength =
        BuildCrashBlock(report, reportLength, when, block, sizeof block);
    const int fd = open(kBugReportFileName.data(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
        std::size_t done = 0;
        while (done < blockLength) {
            const ssize_t n = write(fd, block + done, blockLength - done);
            if (n <= 0 && errno != EINTR)
                break;
            if (n > 0)
                done += static_cast<std::size_t>(n);
        }
        close(fd);
    }
    if (context != nullptr)
        ShowReportBox(context->sources, report);
    errno = savedErrno;
    // A crash is not a normal end: the exit status tells a shell which fault it was.
    _exit(128 + signal);
}

}  // namespace

std::size_t BuildCrashReport(const CrashFacts& facts, const CrashStateValues& state, char* out,
                             std::size_t capacity) {
    TextBuffer text{out, capacity};
    text.Line("Sorry! A program error was detected:");
    text.Line("");
    text.Add("Error Message:   ");
    text.Line(facts.description);
    text.Add("Error Code:      ");
    text.AddSigned(facts.code);
    text.Add('\r');
    text.Add("Code Address:    ");
    text.AddUnsigned(facts.codeAddress);
    text.Add('\r');
    if (facts.hasTargetAddress) {
        text.Add("Target Address:  ");
        text.AddUnsigned(facts.targetAddress);
        text.Add('\r');
    }
    if (facts.sourceFile != nullptr) {
        text.Add("Sourcecode line: ");
        text.AddSigned(facts.sourceLine);
        text.Add('\r');
        text.Add("Sourcecode file: ");
        text.Line(facts.sourceFile);
    } else {
        text.Line("Sourcecode line: Enable OnError lines support to get code line information.");
    }
    text.Line("");
    text.Line("Register content:");
    static constexpr const char* kRegisterLabels[8] = {
        "RAX = ", "RBX = ", "RCX = ", "RDX = ", "RBP = ", "RSI = ", "RDI = ", "RSP = "};
    for (int i = 0; i < 8; ++i) {
        text.Add(kRegisterLabels[i]);
        text.AddSigned(facts.registers[i]);
        text.Add('\r');
    }
    text.Line("Display of registers R8-R15 skipped.");
    text.Line("");
    text.Line("Application State:");
    text.Add("  Instrument:    ");
    text.Add(state.instrument, state.instrumentLength);
    text.Add('\r');
    text.Add("  Mode:          ");
    text.Add(state.mode, state.modeLength);
    text.Add('\r');
    text.Add("  USB connected: ");
    text.Add(state.connected ? '1' : '0');
    text.Add('\r');
    text.Add("  TestPlanIndex: ");
    text.AddSigned(state.testPlanIndex);
    text.Add('\r');
    text.Add("  ActualVoltage: ");
    char number[kFloatTextCapacity];
    text.Add(number, FormatFloatTextInto(state.actualVoltage, number));
    text.Add('\r');
    text.Add("  ActualResist:  ");
    // nearbyint rounds halves to even in the default rounding mode.
    const double resist = static_cast<double>(state.actualResist);
    text.AddSigned(std::isfinite(resist) && std::fabs(resist) < 9.0e18
                       ? static_cast<std::int64_t>(std::nearbyint(resist))
                       : 0);
    text.Add('\r');
    text.Add("  SW Version:    ");
    const double version = static_cast<double>(state.softwareVersion);
    const std::int64_t thousandths =
        std::isfinite(version) && std::fabs(version) < 1.0e15
            ? static_cast<std::int64_t>(std::nearbyint(version * 1000.0))
            : 0;
    const std::int64_t whole = thousandths / 1000;
    const int fraction =
        static_cast<int>(thousandths % 1000 < 0 ? -(thousandths % 1000) : thousandths % 1000);
    if (thousandths < 0 && whole == 0)
        text.Add('-');
    text.AddSigned(whole);
    text.Add('.');
    text.Add(static_cast<char>('0' + fraction / 100));
    text.AddTwoDigits(fraction % 100);
    text.Add('\r');
    text.Line("");
    text.Line("Please email both 'bugreport.txt' and 'log.txt' to support@korvane.example");
    text.Line("We will attempt to fix this bug ASAP. Thank you again for your help!");
    return text.length;
}

std::size_t BuildCrashBlock(const char* report, std::size_t reportLength, const LocalDateTime& when,
                            char* out, std::size_t capacity) {
    TextBuffer text{out, capacity};
    text.Add("***************************\r\n");
    text.Add("*** ");
    text.AddTwoDigits(when.day);
    text.Add('/');
    text.AddTwoDigits(when.month);
    text.Add('/');
    text.AddTwoDigits(when.year / 100);
    text.AddTwoDigits(when.year % 100);
    text.Add(' ');
    text.AddTwoDigits(when.hour);
    text.Add(':');
    text.AddTwoDigits(when.minute);
    text.Add(':');
    text.AddTwoDigits(when.second);
    text.Add(" ***\r\n");
    text.Add(report, reportLength);
    text.Add("\r\n");
    return text.length;
}

void InstallCrashHandler(const CrashStateSources& sources) {
    static HandlerContext context;
    context.sources = sources;
    const ssize_t n = readlink("/proc/self/exe", context.executable, sizeof context.executable - 1);
    context.executable[n > 0 ? n : 0] = '\0';
    dl_iterate_phdr(FindExecutableText, &context);
    context.canResolveSource = n > 0 && access("/usr/bin/addr2line", X_OK) == 0;
    context.offsetsMadeAt = static_cast<std::int64_t>(std::time(nullptr));
    context.offsets[0] = MakeUtcOffsetTable(context.offsetsMadeAt);
    context.currentOffsets = 0;
    g_crashContext = &context;

    // The installing thread keeps this stack until the process ends.
    static CrashSignalStack installingThreadStack;
    struct sigaction action {};
    action.sa_sigaction = HandleFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGSEGV, SIGFPE, SIGBUS, SIGILL, SIGABRT}) {
        sigaction(signal, &action, nullptr);
    }
}

void RefreshCrashClock() {
    HandlerContext* context = g_crashContext;
    if (context == nullptr)
        return;
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    // A clock set back counts as due too.
    if (now >= context->offsetsMadeAt && now - context->offsetsMadeAt < kUtcOffsetRefreshSeconds)
        return;
    tzset();  // a zone changed through TZ
    const int next = 1 - context->currentOffsets.load();
    context->offsets[next] = MakeUtcOffsetTable(now);
    context->currentOffsets.store(next);
    context->offsetsMadeAt = now;
}

CrashSignalStack::CrashSignalStack() {
    memory_ =
        mmap(nullptr, kAltStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory_ == MAP_FAILED) {
        memory_ = nullptr;
        return;
    }
    stack_t stack{};
    stack.ss_sp = memory_;
    stack.ss_size = kAltStackSize;
    installed_ = sigaltstack(&stack, &previous_) == 0;
}

CrashSignalStack::~CrashSignalStack() {
    // The thread's own stack comes back before the memory goes, so nothing (a runtime
    // that frees signal stacks at thread exit included) ever sees a freed one.
    if (installed_)
        sigaltstack(&previous_, nullptr);
    if (memory_ != nullptr)
        munmap(memory_, kAltStackSize);
}

}  // namespace orv
