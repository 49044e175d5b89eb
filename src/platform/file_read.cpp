#include "platform/file_read.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ruma {

void (*onFileOpened)(const std::string& path) = nullptr;

std::string errorText(int error)
{
    std::string text = std::strerror(error);
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

namespace {

bool fail(std::string* reason, int error)
{
    if (reason) *reason = errorText(error);
    return false;
}

// Opens path for reading; a directory opens on Linux but reads nothing, so it
// is refused here. Returns -1 with errno set on failure.
int openForReading(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    int error = ::fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error == 0) return fd;
    ::close(fd);
    errno = error;
    return -1;
}

} // namespace

bool readWholeFile(const std::string& path, std::string& bytes, std::string* reason)
{
    bytes.clear();
    int fd = openForReading(path);
    if (fd < 0) return fail(reason, errno);
    if (onFileOpened) onFileOpened(path);
    char block[1 << 16];
    for (;;) {
        ssize_t got = ::read(fd, block, sizeof block);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            bytes.clear();
            return fail(reason, error);
        }
        bytes.append(block, static_cast<size_t>(got));
    }
    ::close(fd);
    return true;
}

bool isReadableFile(const std::string& path, std::string* reason)
{
    int fd = openForReading(path);
    if (fd < 0) return fail(reason, errno);
    ::close(fd);
    return true;
}

} // namespace ruma
