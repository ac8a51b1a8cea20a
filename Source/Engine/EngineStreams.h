// EngineStreams.h -- little-endian byte records: a writer that appends to a string and a reader
// that checks every length, so a short or damaged record is an error, never a read past its end.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>

// Raised when a record ends before all its fields were read.
class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TStreamWriter {
 public:
  explicit TStreamWriter(std::string& Target) : Target(Target) {}
  // Appends the value's bytes (little-endian on every platform the game runs on).
  template <typename T>
  void Write(T Value) {
    static_assert(std::is_trivially_copyable_v<T>);
    char Bytes[sizeof(T)];
    std::memcpy(Bytes, &Value, sizeof(T));
    Target.append(Bytes, sizeof(T));
  }
  void WriteBytes(const void* Data, std::size_t Size) {
    Target.append(static_cast<const char*>(Data), Size);
  }
  std::size_t Position() const { return Target.size(); }

 private:
  std::string& Target;
};

class TStreamReader {
 public:
  explicit TStreamReader(const std::string& Source, std::size_t Start = 0)
      : Source(Source), Offset(Start) {}
  // Reads the value's bytes; throws EStreamError when fewer remain.
  template <typename T>
  T Read() {
    static_assert(std::is_trivially_copyable_v<T>);
    T Value;
    ReadBytes(&Value, sizeof(T));
    return Value;
  }
  void ReadBytes(void* Data, std::size_t Size) {
    if (Size > Remaining()) throw EStreamError("Unexpected end of record");
    std::memcpy(Data, Source.data() + Offset, Size);
    Offset += Size;
  }
  std::size_t Position() const { return Offset; }
  std::size_t Remaining() const { return Source.size() - Offset; }

 private:
  const std::string& Source;
  std::size_t Offset;
};
