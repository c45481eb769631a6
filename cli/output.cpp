#include "cli/output.h"

#include "cli/format.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = std::size_t(1) << 20;

// The temporary file to remove when a signal ends the program; written only
// outside the handler, and read by it with nothing but async-signal-safe calls.
char gTempPath[PATH_MAX + 16];

void RemoveTempAndRaise(int signal) {
  if (gTempPath[0]) unlink(gTempPath);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void RememberTemp(const std::string& path) {
  if (path.size() < sizeof gTempPath) {
    std::memcpy(gTempPath, path.c_str(), path.size() + 1);
  } else {
    gTempPath[0] = '\0';
  }
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void InstallTempFileCleanup() {
  struct sigaction action = {};
  action.sa_handler = RemoveTempAndRaise;
  sigemptyset(&action.sa_mask);
  for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
}

TOutput::TOutput(std::string path)
    : FPath(std::move(path)),
      FBuffer(new char[kBufferSize]),
      FPos(FBuffer),
      FEnd(FBuffer + kBufferSize) {}

TOutput::~TOutput() {
  Cancel();
  delete[] FBuffer;
}

void TOutput::Open() {
  if (FPath.empty()) return;
  // A link is followed, so the file it names is replaced and the link stays.
  std::string target = FPath;
  if (char* real = realpath(FPath.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  struct stat st = {};
  const bool exists = stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) Fail(EISDIR);
  // Renaming over a device or a pipe would replace it with a plain file.
  if (exists && !S_ISREG(st.st_mode)) {
    throw TWriteFailed{"Couldn't write " + FPath + ": not a regular file"};
  }
  std::string temp = Folder(target) + "/." + BaseName(target) + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) Fail(errno);
  FTempPath = temp;
  RememberTemp(FTempPath);
  FFd = fd;
  FTarget = target;
  // The file gets the permissions it had, or those a new file would get.
  mode_t mode = st.st_mode & 07777;
  if (!exists) {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (fchmod(FFd, mode) != 0) Fail(errno);
}

void TOutput::Flush() {
  const std::size_t size = std::size_t(FPos - FBuffer);
  FPos = FBuffer;
  WriteAll(FBuffer, size);
}

void TOutput::Finish() {
  Flush();
  if (FTempPath.empty()) return;
  if (fsync(FFd) != 0 && errno != EINVAL) Fail(errno);
  const int fd = FFd;
  FFd = -1;
  if (close(fd) != 0) Fail(errno);
  if (rename(FTempPath.c_str(), FTarget.c_str()) != 0) Fail(errno);
  FTempPath.clear();
  gTempPath[0] = '\0';
}

void TOutput::Cancel() noexcept {
  if (FTempPath.empty()) return;
  if (FFd >= 0) close(FFd);
  FFd = -1;
  unlink(FTempPath.c_str());
  FTempPath.clear();
  gTempPath[0] = '\0';
}

void TOutput::WriteLong(const char* data, std::size_t size) {
  Flush();
  if (size >= kBufferSize / 2) return WriteAll(data, size);
  std::memcpy(FPos, data, size);
  FPos += size;
}

void TOutput::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(FFd, data, size);
    if (n < 0 && errno == EINTR) continue;
    // A write that takes nothing cannot go on: the device is full.
    if (n <= 0) Fail(n < 0 ? errno : ENOSPC);
    data += n;
    size -= std::size_t(n);
  }
}

void TOutput::Fail(int error) {
  if (FPath.empty()) {
    if (error == EPIPE) throw TPipeClosed();
    throw TWriteFailed{std::string("Couldn't write standard output: ") + std::strerror(error)};
  }
  Cancel();
  throw TWriteFailed{"Couldn't write " + FPath + ": " + std::strerror(error)};
}

void ForEachInputLine(TOutput& out, const std::function<void(std::string_view)>& one) {
  std::vector<char> block(std::size_t(1) << 20);
  std::string carry;
  for (;;) {
    out.Flush();
    const ssize_t got = read(0, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0)
      throw TInputError{std::string("Couldn't read standard input: ") + std::strerror(errno)};
    if (got == 0) break;
    std::string_view data(block.data(), std::size_t(got));
    for (std::size_t nl; (nl = data.find('\n')) != std::string_view::npos;) {
      if (carry.empty()) {
        one(data.substr(0, nl));
      } else {
        carry.append(data.substr(0, nl));
        one(carry);
        carry.clear();
      }
      data.remove_prefix(nl + 1);
    }
    carry.append(data);
  }
  if (!carry.empty()) one(carry);
}
