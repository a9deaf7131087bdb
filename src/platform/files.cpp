#include "platform/files.h"

#include <algorithm>

#if defined(_WIN32)
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::string nativePath(const char *programPath) {
  std::string path(programPath);
#if !defined(_WIN32)
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return path;
}

#if defined(_WIN32)
// 64-bit positions, so that a file of 2 GiB or more is measured as what it is.
#define seekTo _fseeki64
#define tellPosition _ftelli64
#else
#define seekTo fseeko
#define tellPosition ftello
#endif

std::int64_t measureFile(std::FILE *file) {
  if (seekTo(file, 0, SEEK_END) != 0) {
    return -1;
  }
  std::int64_t length = tellPosition(file);
  std::rewind(file);
  return length;
}

// A seek costs a system call even to where the stream already stands, and the
// records of a database mostly follow one another: only a jump is a seek. A
// stream at its end is seeked all the same, which clears its end-of-file mark.
bool seekFile(std::FILE *file, std::int64_t offset) {
  if (offset < 0) {
    return false;
  }
  if (std::feof(file) == 0 && tellPosition(file) == offset) {
    return true;
  }
  return seekTo(file, offset, SEEK_SET) == 0;
}

std::size_t readFromFile(std::FILE *file, void *destination, std::size_t count) {
  return std::fread(destination, 1, count, file);
}

#if defined(_WIN32)

static bool isRegularFile(std::FILE *file) {
  struct _stat64 status {};
  return _fstat64(_fileno(file), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

std::FILE *openFileForReading(const char *programPath) {
  std::FILE *file = std::fopen(nativePath(programPath).c_str(), "rb");
  if (file != nullptr && !isRegularFile(file)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

std::FILE *createFileForWriting(const char *programPath) {
  return std::fopen(nativePath(programPath).c_str(), "wb");
}

#else

// O_NONBLOCK keeps the open itself from waiting on a FIFO; it is cleared again
// so that the stream reads and writes as usual.
static std::FILE *streamOnOpenedFile(int fd, const char *mode, bool regularOnly) {
  if (fd < 0) {
    return nullptr;
  }
  struct stat status {};
  int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &status) != 0 || (regularOnly && !S_ISREG(status.st_mode)) || flags < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE *file = fdopen(fd, mode);
  if (file == nullptr) {
    close(fd);
  }
  return file;
}

std::FILE *openFileForReading(const char *programPath) {
  int fd = open(nativePath(programPath).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  return streamOnOpenedFile(fd, "rb", true);
}

std::FILE *createFileForWriting(const char *programPath) {
  int fd = open(nativePath(programPath).c_str(),
                O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  return streamOnOpenedFile(fd, "wb", false);
}

#endif
