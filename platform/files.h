#pragma once
// Files by name, opened and closed within one operation. Paths are the file
// system's own bytes (UTF-8 on Linux), exactly as the dialog or drop gave them.
#include <cstdint>
#include <cstdio>
#include <string>

struct FileHandle;

// Opens an existing file for reading. nullptr when it is missing, a directory
// or otherwise cannot be opened. Never blocks on a FIFO.
FileHandle* OpenForReading(const std::string& path);
// The size of the named file as a 64-bit count, or -1 when it cannot be asked.
int64_t FileSizeByName(const std::string& path);
// Reads up to count bytes from the current position; returns how many arrived
// (fewer at the end of the file or on a read error).
int64_t ReadBlock(FileHandle* file, void* into, int64_t count);
// Reads one byte; a byte beyond the end (or a failed read) yields 0.
uint8_t ReadByte(FileHandle* file);

// Creates a file for writing, replacing one of the same name. nullptr on failure
// (missing folder, a directory of that name, no rights).
FileHandle* CreateForWriting(const std::string& path);
// Writes the whole block; false when the write failed or fell short.
bool WriteBlock(FileHandle* file, const void* bytes, int64_t count);
// The stdio stream of a file, for libraries that write through one.
std::FILE* StdioStream(FileHandle* file);
// Closes the file; false when buffered data could not be written out.
bool CloseFile(FileHandle* file);

// Deletes a plain file; devices, links and folders are left alone (false).
bool DeleteFile(const std::string& path);
// Renames over an existing file in one step.
bool RenameFile(const std::string& from, const std::string& to);
// True when both names exist and are one file (same device and inode).
bool SameFile(const std::string& a, const std::string& b);

// Tests: runs once between the next size query and the block read that
// follows it, to change the file under the reader's feet. nullptr clears it.
void SetBeforeReadHookForTests(void (*hook)());
