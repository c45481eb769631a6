#pragma once
// Where a subcommand's results go: standard output through one large buffer,
// or a file written atomically (a temporary file beside it, renamed over it
// only when everything was written). Failures are thrown, so the commands can
// write without checking each call.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

// The reader of standard output went away: the program ends quietly.
struct TPipeClosed {};

// Writing failed (a full disk, a missing folder); `message` says so in full.
struct TWriteFailed {
  std::string message;
};

class TOutput {
 public:
  // Standard output when path is empty, else the file at path.
  explicit TOutput(std::string path = std::string());
  ~TOutput();
  TOutput(const TOutput&) = delete;
  TOutput& operator=(const TOutput&) = delete;

  // Creates the temporary file of a file output; nothing for standard output.
  void Open();
  // Writes what is buffered; for a file, makes it permanent under its name.
  void Finish();
  // Drops a file output: the temporary file goes, an existing file stays.
  void Cancel() noexcept;

  void Write(const char* data, std::size_t size) {
    if (size == 0) return;  // data may be null then
    if (size > std::size_t(FEnd - FPos)) return WriteLong(data, size);
    std::memcpy(FPos, data, size);
    FPos += size;
  }
  void Write(std::string_view s) { Write(s.data(), s.size()); }
  void Put(char c) {
    if (FPos == FEnd) Flush();
    *FPos++ = c;
  }
  // Room for n more bytes (n at most kRoom) written directly at the pointer
  // returned; Advance tells how many were used.
  static constexpr std::size_t kRoom = 4096;
  char* Room(std::size_t n) {
    if (n > std::size_t(FEnd - FPos)) Flush();
    return FPos;
  }
  void Advance(char* end) { FPos = end; }

  // Writes the buffer out.
  void Flush();

 private:
  void WriteLong(const char* data, std::size_t size);
  void WriteAll(const char* data, std::size_t size);
  [[noreturn]] void Fail(int error);

  std::string FPath;      // "" for standard output; as given, for messages
  std::string FTarget;    // the file replaced in the end (links followed)
  std::string FTempPath;  // the temporary file while it exists
  int FFd = 1;
  char* FBuffer;
  char* FPos;
  char* FEnd;
};

// Removes the temporary file of a file output when the program is ended by a
// signal, then ends it as the signal would.
void InstallTempFileCleanup();

// Hands each line of standard input to `one`, without its line break (a last
// line without one as well). What is ready goes out before each read, so
// results follow input that comes line by line; fast input still fills whole
// blocks. A failed read throws TInputError.
void ForEachInputLine(TOutput& out, const std::function<void(std::string_view)>& one);
