#include "ToolRunner.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <process.h>
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32

// One argument of a Windows command line, as the C run time splits it again.
std::wstring QuoteArgument(const std::wstring& s) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : s) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

std::wstring Wide(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())).wstring(); }

HANDLE Inheritable(const fs::path& p, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(p.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string Arguments(const std::vector<std::string>& args) {
    std::wstring line;
    for (const std::string& a : args) line += L" " + QuoteArgument(Wide(a));
    const std::u8string text = fs::path(line).u8string();
    return std::string(text.begin(), text.end());
}

// Runs the program with its output and errors in files; the exit status, -1 when it did not run.
int Run(const std::string& program, const std::string& arguments, const fs::path& out, const fs::path& err) {
    std::wstring line = QuoteArgument(fs::absolute(Wide(program)).wstring()) + L" " + Wide(arguments);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    start.hStdOutput = Inheritable(out, GENERIC_WRITE, CREATE_ALWAYS);
    start.hStdError = Inheritable(err, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    DWORD code = static_cast<DWORD>(-1);
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (HANDLE h : {start.hStdInput, start.hStdOutput, start.hStdError})
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return static_cast<int>(code);
}

int ProcessId() { return _getpid(); }

#else

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

std::string Arguments(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& a : args) text += " " + Quote(a);
    return text;
}

int Run(const std::string& program, const std::string& arguments, const fs::path& out, const fs::path& err) {
    std::string cmd = Quote(program) + " " + arguments;
    cmd += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

int ProcessId() { return static_cast<int>(::getpid()); }

#endif

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

ToolResult RunTool(const std::vector<std::string>& args) { return RunProgram(HEXLANE_TOOL, args); }

ToolResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    return RunCommandLine(program, Arguments(args));
}

ToolResult RunCommandLine(const std::string& program, const std::string& arguments) {
    static int counter = 0;
    const fs::path dir = fs::temp_directory_path() / ("hexlane-tool-run-" + std::to_string(ProcessId()));
    fs::create_directories(dir);
    const fs::path out = dir / ("out" + std::to_string(counter));
    const fs::path err = dir / ("err" + std::to_string(counter++));
    ToolResult r;
    r.Status = Run(program, arguments, out, err);
    r.Out = Slurp(out);
    r.Err = Slurp(err);
#ifdef _WIN32
    // Text on the console ends its lines with CR LF on Windows.
    for (std::string* text : {&r.Out, &r.Err})
        for (std::size_t at; (at = text->find("\r\n")) != std::string::npos;) text->erase(at, 1);
#endif
    fs::remove(out);
    fs::remove(err);
    return r;
}

std::string TempFolder(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("hexlane-tool-test-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}
