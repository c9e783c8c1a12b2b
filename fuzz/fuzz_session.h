#pragma once
// What every fuzzer shares: the real program started once per process on the
// offscreen platform, in a working directory of its own, with message boxes
// recorded instead of shown; and a check that stops the run with the failing
// condition, so that libFuzzer keeps the input that broke it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using FuzzMessage = std::pair<std::string, std::string>;  // title, text

// Starts the platform and the program's start-up; the working directory is a
// fresh temporary folder, removed again when the process ends normally. Called
// from LLVMFuzzerInitialize with its arguments: the corpus folders, input files
// and artifact paths among them are made absolute first, and crash inputs go
// to the directory the fuzzer was started in unless told otherwise.
void StartFuzzSession(int* argc, char*** argv);
// The working directory, without a trailing separator.
const std::string& FuzzDirectory();
// Removes everything in the working directory, so that each input begins alike.
void EmptyFuzzDirectory();
// Lets the toolkit handle what the last input left waiting (repaints, layout),
// which would otherwise pile up from input to input.
void SettleFuzzEvents();
// Message boxes shown since the last ClearFuzzMessages.
const std::vector<FuzzMessage>& FuzzMessages();
void ClearFuzzMessages();

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// The whole file, or nothing in *bytes (and false) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes);

[[noreturn]] void FuzzFailure(const char* file, int line, const std::string& what);
#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) FuzzFailure(__FILE__, __LINE__, #condition); \
    } while (false)
#define FUZZ_CHECK_EQ(a, b) \
    do { \
        if (!((a) == (b))) FuzzFailure(__FILE__, __LINE__, #a " == " #b); \
    } while (false)
