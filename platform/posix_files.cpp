#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

struct FileHandle {
    int Descriptor = -1;
    std::FILE* Stream = nullptr;  // made on demand; owns Descriptor once made
    bool Writing = false;
};

namespace {
void (*BeforeReadHook)() = nullptr;

FileHandle* Wrap(int descriptor, bool writing) {
    auto* file = new FileHandle;
    file->Descriptor = descriptor;
    file->Writing = writing;
    return file;
}
}  // namespace

FileHandle* OpenForReading(const std::string& path) {
    // O_NONBLOCK so that opening a FIFO with no writer cannot hang the window.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return nullptr;
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0) fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    return Wrap(descriptor, false);
}

int64_t FileSizeByName(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return -1;
    return static_cast<int64_t>(info.st_size);
}

int64_t ReadBlock(FileHandle* file, void* into, int64_t count) {
    if (file == nullptr || into == nullptr || count <= 0) return 0;
    if (BeforeReadHook != nullptr) {
        void (*hook)() = BeforeReadHook;
        BeforeReadHook = nullptr;
        hook();
    }
    auto* bytes = static_cast<uint8_t*>(into);
    int64_t done = 0;
    while (done < count) {
        // read() moves at most about 2 GiB per call; loop until all or the end.
        const ssize_t got = read(file->Descriptor, bytes + done, static_cast<std::size_t>(count - done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += got;
    }
    return done;
}

uint8_t ReadByte(FileHandle* file) {
    uint8_t byte = 0;
    return ReadBlock(file, &byte, 1) == 1 ? byte : 0;
}

FileHandle* CreateForWriting(const std::string& path) {
    // O_NONBLOCK: a FIFO with no reader at the name fails at once instead of
    // hanging the window; the flag is dropped again for the writing itself.
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (descriptor < 0) return nullptr;
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags >= 0) fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    return Wrap(descriptor, true);
}

std::FILE* StdioStream(FileHandle* file) {
    if (file == nullptr) return nullptr;
    if (file->Stream == nullptr) file->Stream = fdopen(file->Descriptor, file->Writing ? "wb" : "rb");
    return file->Stream;
}

bool WriteBlock(FileHandle* file, const void* bytes, int64_t count) {
    if (file == nullptr || count < 0) return false;
    if (count == 0) return true;
    // Everything goes through the one stdio stream, so that a library writing
    // to the same file keeps its bytes in order with ours.
    std::FILE* stream = StdioStream(file);
    if (stream == nullptr) return false;
    return std::fwrite(bytes, 1, static_cast<std::size_t>(count), stream) == static_cast<std::size_t>(count);
}

bool CloseFile(FileHandle* file) {
    if (file == nullptr) return false;
    bool ok = true;
    if (file->Stream != nullptr) {
        // fclose flushes; a full disk shows up here, not at the fwrite.
        ok = std::fclose(file->Stream) == 0;
    } else {
        ok = close(file->Descriptor) == 0;
    }
    delete file;
    return ok;
}

bool DeleteFile(const std::string& path) {
    // Only plain files: a failed write through a device or a link (/dev/full,
    // say) must never take the device node or the link away.
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void SetBeforeReadHookForTests(void (*hook)()) { BeforeReadHook = hook; }
