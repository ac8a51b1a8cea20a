// PlatformCommon.cpp -- the services every platform shares: files, folders and the user's folders.
#include <dirent.h>    // SubFolders
#include <fcntl.h>     // open for the temporary file of WriteFileAtomic
#include <pwd.h>       // home folder and user name from the password database
#include <sys/stat.h>  // stat, mkdir
#include <unistd.h>    // readlink, write, fsync, getuid

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "Platform.h"

namespace Platform {

namespace {

std::string EnvironmentValue(const char* Name) {
  const char* Value = std::getenv(Name);
  return Value ? std::string(Value) : std::string();
}

std::string HomeFolder() {
  std::string Home = EnvironmentValue("HOME");
  if (!Home.empty()) return Home;
  if (const passwd* Entry = getpwuid(getuid()); Entry && Entry->pw_dir) return Entry->pw_dir;
  return {};
}

std::string WithoutTrailingSlashes(std::string Path) {
  while (Path.size() > 1 && Path.back() == '/')
    Path.pop_back();
  return Path;
}

// The XDG documents folder from user-dirs.dirs: a line XDG_DOCUMENTS_DIR="$HOME/Documents".
std::string DocumentsFromUserDirs(const std::string& Home) {
  std::string ConfigHome = EnvironmentValue("XDG_CONFIG_HOME");
  if (ConfigHome.empty() || ConfigHome[0] != '/') ConfigHome = Home + "/.config";
  std::optional<std::string> Text = ReadFile(ConfigHome + "/user-dirs.dirs");
  if (!Text) return {};
  std::istringstream Lines(*Text);
  const std::string Key = "XDG_DOCUMENTS_DIR=";
  for (std::string Line; std::getline(Lines, Line);) {
    if (Line.compare(0, Key.size(), Key) != 0) continue;
    std::string Value = Line.substr(Key.size());
    if (Value.size() >= 2 && Value.front() == '"' && Value.back() == '"')
      Value = Value.substr(1, Value.size() - 2);
    if (Value.compare(0, 5, "$HOME") == 0) Value = Home + Value.substr(5);
    if (!Value.empty() && Value[0] == '/') return WithoutTrailingSlashes(Value);
  }
  return {};
}

}  // namespace

// Windows-1252 code points 0x80..0x9F that are not the same as Unicode's; 0 where undefined.
static const std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

namespace {

// Length of the UTF-8 sequence at Text[At], or 0 when no valid sequence starts there.
std::size_t Utf8SequenceLength(const std::string& Text, std::size_t At) {
  unsigned char Lead = static_cast<unsigned char>(Text[At]);
  std::size_t Length = Lead < 0x80           ? 1
                       : (Lead >> 5) == 0x06 ? 2
                       : (Lead >> 4) == 0x0E ? 3
                       : (Lead >> 3) == 0x1E ? 4
                                             : 0;
  if (Length == 0 || At + Length > Text.size()) return 0;
  for (std::size_t K = 1; K < Length; ++K)
    if ((static_cast<unsigned char>(Text[At + K]) & 0xC0) != 0x80) return 0;
  return Length;
}

}  // namespace

std::string Utf8ToCp1252(const std::string& Text) {
  std::string Result;
  for (std::size_t I = 0; I < Text.size();) {
    std::size_t Length = Utf8SequenceLength(Text, I);
    if (Length == 0) {
      ++I;  // a broken sequence: skip the byte
      continue;
    }
    unsigned char Lead = static_cast<unsigned char>(Text[I]);
    std::uint32_t Code = Length == 1 ? Lead : Lead & (0x7F >> Length);
    for (std::size_t K = 1; K < Length; ++K)
      Code = (Code << 6) | (static_cast<unsigned char>(Text[I + K]) & 0x3F);
    I += Length;
    if (Code < 0x80 || (Code >= 0xA0 && Code <= 0xFF)) {
      Result += static_cast<char>(Code);
      continue;
    }
    for (std::size_t K = 0; K < kCp1252High.size(); ++K)
      if (kCp1252High[K] != 0 && kCp1252High[K] == Code) Result += static_cast<char>(0x80 + K);
  }
  return Result;
}

std::string Cp1252ToUtf8(const std::string& Text) {
  std::string Result;
  for (char Byte : Text) {
    std::uint32_t Code = static_cast<unsigned char>(Byte);
    if (Code >= 0x80 && Code < 0xA0) Code = kCp1252High[Code - 0x80];
    if (Code == 0) continue;
    if (Code < 0x80) {
      Result += static_cast<char>(Code);
    } else if (Code < 0x800) {
      Result += static_cast<char>(0xC0 | (Code >> 6));
      Result += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
      Result += static_cast<char>(0xE0 | (Code >> 12));
      Result += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
      Result += static_cast<char>(0x80 | (Code & 0x3F));
    }
  }
  return Result;
}

TKey LetterKey(char Letter) {
  if (Letter >= 'a' && Letter <= 'z') Letter = static_cast<char>(Letter - 'a' + 'A');
  if (Letter < 'A' || Letter > 'Z') return TKey::Count;
  return static_cast<TKey>(static_cast<int>(TKey::A) + (Letter - 'A'));
}

std::string TPlatform::ProgramPath() {
  char Buffer[4096];
  ssize_t Length = readlink("/proc/self/exe", Buffer, sizeof(Buffer) - 1);
  if (Length <= 0) return {};
  return std::string(Buffer, static_cast<std::size_t>(Length));
}

std::string TPlatform::UserDataFolder() {
  std::string Folder = EnvironmentValue("XDG_DATA_HOME");
  if (Folder.empty() || Folder[0] != '/') {
    std::string Home = HomeFolder();
    if (Home.empty()) return {};
    Folder = Home + "/.local/share";
  }
  Folder = WithoutTrailingSlashes(Folder);
  return CreateFolders(Folder) ? Folder : std::string();
}

std::string TPlatform::DocumentsFolder() {
  std::string Home = HomeFolder();
  if (Home.empty()) return {};
  std::string Documents = DocumentsFromUserDirs(Home);
  return Documents.empty() ? WithoutTrailingSlashes(Home) + "/Documents" : Documents;
}

std::string TPlatform::UserName() {
  std::string Name;
  if (const passwd* Entry = getpwuid(getuid()); Entry && Entry->pw_name) Name = Entry->pw_name;
  if (Name.empty()) Name = EnvironmentValue("USER");
  if (Name.size() > 260) Name.resize(260);
  return Name;
}

bool FolderExists(const std::string& Path) {
  struct stat Info {};
  return !Path.empty() && stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

bool FileExists(const std::string& Path) {
  struct stat Info {};
  return !Path.empty() && stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

bool CreateFolder(const std::string& Path) {
  if (Path.empty()) return false;
  if (mkdir(Path.c_str(), 0755) == 0) return true;
  return FolderExists(Path);
}

bool CreateFolders(const std::string& Path) {
  std::string Folder = WithoutTrailingSlashes(Path);
  if (Folder.empty()) return false;
  if (FolderExists(Folder)) return true;
  std::size_t Slash = Folder.find_last_of('/');
  if (Slash != std::string::npos && Slash > 0 && !CreateFolders(Folder.substr(0, Slash)))
    return false;
  return CreateFolder(Folder);
}

bool MoveFolder(const std::string& From, const std::string& To) {
  if (!FolderExists(From) || FolderExists(To)) return false;
  return std::rename(WithoutTrailingSlashes(From).c_str(), WithoutTrailingSlashes(To).c_str()) == 0;
}

bool DeleteFile(const std::string& Path) {
  return !Path.empty() && unlink(Path.c_str()) == 0;
}

std::optional<std::string> ReadFile(const std::string& Path) {
  if (!FileExists(Path)) return std::nullopt;
  std::ifstream Stream(Path, std::ios::binary);
  if (!Stream) return std::nullopt;
  std::ostringstream Contents;
  Contents << Stream.rdbuf();
  if (Stream.bad()) return std::nullopt;
  return Contents.str();
}

std::string WriteFileAtomic(const std::string& Path, const std::string& Data) {
  std::string Temporary = Path + ".tmp";
  int File = open(Temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (File < 0) return "cannot create " + Temporary + ": " + std::strerror(errno);
  std::size_t Written = 0;
  while (Written < Data.size()) {
    ssize_t Count = write(File, Data.data() + Written, Data.size() - Written);
    if (Count < 0 && errno == EINTR) continue;
    if (Count <= 0) {
      std::string Reason = std::strerror(errno);
      close(File);
      unlink(Temporary.c_str());
      return "cannot write " + Temporary + ": " + Reason;
    }
    Written += static_cast<std::size_t>(Count);
  }
  bool Flushed = fsync(File) == 0;
  int FlushError = errno;
  bool Closed = close(File) == 0;
  if (!Flushed || !Closed) {
    std::string Reason = std::strerror(Flushed ? errno : FlushError);
    unlink(Temporary.c_str());
    return "cannot flush " + Temporary + ": " + Reason;
  }
  if (std::rename(Temporary.c_str(), Path.c_str()) != 0) {
    std::string Reason = std::strerror(errno);
    unlink(Temporary.c_str());
    return "cannot replace " + Path + ": " + Reason;
  }
  return {};
}

std::vector<std::string> SubFolders(const std::string& Path) {
  std::vector<std::string> Names;
  DIR* Folder = opendir(Path.c_str());
  if (!Folder) return Names;
  std::string Base = Path.empty() || Path.back() == '/' ? Path : Path + "/";
  while (const dirent* Entry = readdir(Folder)) {
    std::string Name = Entry->d_name;
    if (Name == "." || Name == "..") continue;
    if (FolderExists(Base + Name)) Names.push_back(Name);
  }
  closedir(Folder);
  std::sort(Names.begin(), Names.end());
  return Names;
}

}  // namespace Platform
