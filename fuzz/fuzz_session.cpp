#include "fuzz_session.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/startup.h"
#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/window.h"

namespace {
std::string Directory;
std::vector<FuzzMessage> Messages;

void RemoveDirectory() {
    std::error_code ignored;
    if (!Directory.empty()) std::filesystem::remove_all(Directory, ignored);
}
}  // namespace

namespace {
std::vector<std::string> Arguments;
std::vector<char*> ArgumentPointers;

std::string Absolute(const std::string& path) { return std::filesystem::absolute(path).string(); }

// libFuzzer reads its arguments after LLVMFuzzerInitialize returns, when the
// working directory has changed: relative paths among them would be lost.
void MakePathsAbsolute(int* argc, char*** argv) {
    bool artifactPrefix = false;
    for (int i = 0; i < *argc; ++i) {
        std::string argument = (*argv)[i];
        const std::size_t equals = argument.find('=');
        const std::string flag = argument.substr(0, equals == std::string::npos ? 0 : equals + 1);
        if (i > 0 && argument[0] != '-') {
            argument = Absolute(argument);
        } else if (flag == "-artifact_prefix=" || flag == "-exact_artifact_path=" || flag == "-dict=") {
            const std::string value = argument.substr(flag.size());
            // A prefix may end in a separator, or be the first part of a file name.
            argument = flag + Absolute(value.empty() ? "." : value) + (value.empty() || value.back() == '/' ? "/" : "");
            artifactPrefix = artifactPrefix || flag == "-artifact_prefix=";
        }
        Arguments.push_back(argument);
    }
    if (!artifactPrefix) Arguments.push_back("-artifact_prefix=" + std::filesystem::current_path().string() + "/");
    for (std::string& argument : Arguments) ArgumentPointers.push_back(argument.data());
    ArgumentPointers.push_back(nullptr);
    *argc = static_cast<int>(Arguments.size());
    *argv = ArgumentPointers.data();
}
}  // namespace

void StartFuzzSession(int* argc, char*** argv) {
    MakePathsAbsolute(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
        std::perror("quillon fuzz: no working directory");
        std::abort();
    }
    Directory = pattern;
    std::atexit(RemoveDirectory);
    static char name[] = "quillon-fuzz";
    static char* platformArguments[] = {name, nullptr};
    if (!StartPlatform(1, platformArguments) || !StartUp()) {
        std::fputs("quillon fuzz: the program did not start\n", stderr);
        std::abort();
    }
    SetMessageBoxSeam([](const std::string& title, const std::string& text) { Messages.emplace_back(title, text); });
    // A dialog would wait for a person; no fuzzer asks for one.
    SetOpenDialogSeam([](const std::string&) { return std::string(); });
}

const std::string& FuzzDirectory() { return Directory; }

void EmptyFuzzDirectory() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(Directory, ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

void SettleFuzzEvents() {
    // The loop would dispatch a queued user action; a fuzzer raises none, so drop it.
    for (int guard = 0; guard < 100 && EventPending(); ++guard) WaitForEvent();
}

const std::vector<FuzzMessage>& FuzzMessages() { return Messages; }
void ClearFuzzMessages() { Messages.clear(); }

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void FuzzFailure(const char* file, int line, const std::string& what) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what.c_str());
    std::abort();
}
