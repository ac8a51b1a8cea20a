// PlatformTests.cpp -- the services every platform shares: files, folders, text conversion.
#include <sys/stat.h>

#include "NullPlatform.h"
#include "Platform.h"
#include "TestSupport.h"

namespace {

class PlatformFiles : public ::testing::Test {
 protected:
  TScratchFolder Scratch;
  std::string At(const std::string& Name) const { return Scratch.Path() + "/" + Name; }
};

TEST_F(PlatformFiles, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
  std::string Path = At("Game.ini");
  WriteTextFile(Path, std::string(10000, 'x'));
  EXPECT_EQ(Platform::WriteFileAtomic(Path, "short\n"), "");
  EXPECT_EQ(ReadTextFile(Path), "short\n");
  EXPECT_FALSE(Platform::FileExists(Path + ".tmp"));
  EXPECT_EQ(Platform::WriteFileAtomic(Path, ""), "");
  EXPECT_EQ(ReadTextFile(Path), "");
}

TEST_F(PlatformFiles, FailedAtomicWriteKeepsTheOldFileAndSaysWhy) {
  // Missing folder: the temporary file cannot be made.
  std::string Failure = Platform::WriteFileAtomic(At("missing/Game.ini"), "data");
  EXPECT_NE(Failure.find("missing/Game.ini.tmp"), std::string::npos) << Failure;

  // A folder in the file's place: the rename fails, the folder and its content stay.
  std::string Path = At("Error.log");
  WriteTextFile(Path + "/inside", "kept");
  Failure = Platform::WriteFileAtomic(Path, "lines\r\n");
  EXPECT_NE(Failure.find("cannot replace"), std::string::npos) << Failure;
  EXPECT_EQ(ReadTextFile(Path + "/inside"), "kept");
  EXPECT_FALSE(Platform::FileExists(Path + ".tmp"));
}

TEST_F(PlatformFiles, ReadFileOnlyReadsRegularFiles) {
  WriteTextFile(At("a.bin"), std::string("\0\r\n\xff", 4));
  EXPECT_EQ(Platform::ReadFile(At("a.bin")), std::string("\0\r\n\xff", 4));
  EXPECT_FALSE(Platform::ReadFile(At("none")));
  EXPECT_FALSE(Platform::ReadFile(Scratch.Path()));
  EXPECT_FALSE(Platform::ReadFile(""));
}

TEST_F(PlatformFiles, FoldersAreCreatedMovedAndListed) {
  EXPECT_FALSE(Platform::CreateFolder(At("a/b")));  // one level only
  EXPECT_TRUE(Platform::CreateFolders(At("a/b/c/")));
  EXPECT_TRUE(Platform::FolderExists(At("a/b/c")));
  EXPECT_TRUE(Platform::CreateFolder(At("a/b")));  // already there
  WriteTextFile(At("a/file"), "");
  EXPECT_FALSE(Platform::CreateFolder(At("a/file")));
  EXPECT_FALSE(Platform::FolderExists(At("a/file")));
  EXPECT_TRUE(Platform::FileExists(At("a/file")));
  EXPECT_FALSE(Platform::FileExists(At("a")));

  Platform::CreateFolder(At("a/Zeta"));
  Platform::CreateFolder(At("a/Alpha"));
  EXPECT_EQ(Platform::SubFolders(At("a")), (std::vector<std::string>{"Alpha", "Zeta", "b"}));
  EXPECT_TRUE(Platform::SubFolders(At("nothing")).empty());

  EXPECT_TRUE(Platform::MoveFolder(At("a/b"), At("moved")));
  EXPECT_TRUE(Platform::FolderExists(At("moved/c")));
  EXPECT_FALSE(Platform::FolderExists(At("a/b")));
  EXPECT_FALSE(Platform::MoveFolder(At("a/Alpha"), At("moved")));  // never over a folder
  EXPECT_TRUE(Platform::FolderExists(At("a/Alpha")));

  EXPECT_TRUE(Platform::DeleteFile(At("a/file")));
  EXPECT_FALSE(Platform::DeleteFile(At("a/file")));
}

TEST(PlatformUserFolders, DataFolderFollowsXdgAndIsCreated) {
  TScratchFolder Home;
  TEnvironment Environment;
  Environment.Set("HOME", Home.Path());
  Environment.Set("XDG_DATA_HOME", std::nullopt);
  Platform::TNullPlatform Platform;
  EXPECT_EQ(Platform.UserDataFolder(), Home.Path() + "/.local/share");
  EXPECT_TRUE(Platform::FolderExists(Home.Path() + "/.local/share"));

  Environment.Set("XDG_DATA_HOME", Home.Path() + "/data/");
  EXPECT_EQ(Platform.UserDataFolder(), Home.Path() + "/data");
  Environment.Set("XDG_DATA_HOME", "relative/data");  // not absolute: ignored
  EXPECT_EQ(Platform.UserDataFolder(), Home.Path() + "/.local/share");

  WriteTextFile(Home.Path() + "/blocked", "");
  Environment.Set("XDG_DATA_HOME", Home.Path() + "/blocked/data");
  EXPECT_EQ(Platform.UserDataFolder(), "");
}

TEST(PlatformUserFolders, DocumentsFolderFromUserDirs) {
  TScratchFolder Home;
  TEnvironment Environment;
  Environment.Set("HOME", Home.Path());
  Environment.Set("XDG_CONFIG_HOME", std::nullopt);
  Platform::TNullPlatform Platform;
  EXPECT_EQ(Platform.DocumentsFolder(), Home.Path() + "/Documents");
  WriteTextFile(Home.Path() + "/.config/user-dirs.dirs",
                "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                "XDG_DOCUMENTS_DIR=\"$HOME/Papiers/\"\n");
  EXPECT_EQ(Platform.DocumentsFolder(), Home.Path() + "/Papiers");
  EXPECT_FALSE(Platform.UserName().empty());
  EXPECT_LE(Platform.UserName().size(), 260u);
}

TEST(PlatformText, Utf8ToWindows1252) {
  struct TCase {
    std::string Utf8;
    std::string Cp1252;
  };
  const TCase Cases[] = {
      {"Plain ASCII 123", "Plain ASCII 123"},
      {"caf\xC3\xA9 \xC3\xBF", "caf\xE9 \xFF"},        // Latin-1 letters
      {"\xE2\x82\xAC 5 \xE2\x80\x94", "\x80 5 \x97"},  // euro sign, em dash
      {"\xC5\x93\xC5\xB8", "\x9C\x9F"},                // oe ligature, Y diaeresis
      {"\xE4\xB8\xAD|\xF0\x9F\x98\x80|", "||"},        // no such characters: dropped
      {"\xC2\x80|\xC2\x9F", "|"},                      // C1 controls have no code here
      {"bad \xC3 end \xFF\xFE", "bad  end "},          // broken sequences skipped
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Utf8);
    EXPECT_EQ(Platform::Utf8ToCp1252(Case.Utf8), Case.Cp1252);
  }
}

TEST(PlatformText, Windows1252RoundTrip) {
  std::string All;
  for (int Code = 1; Code < 256; ++Code)
    All += static_cast<char>(Code);
  std::string Back = Platform::Utf8ToCp1252(Platform::Cp1252ToUtf8(All));
  // The five codes Windows-1252 leaves undefined are dropped; everything else comes back.
  std::string Expected;
  for (char Code : All)
    if (Code != '\x81' && Code != '\x8D' && Code != '\x8F' && Code != '\x90' && Code != '\x9D')
      Expected += Code;
  EXPECT_EQ(Back, Expected);
  EXPECT_EQ(Platform::Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(PlatformKeys, LetterKeys) {
  EXPECT_EQ(Platform::LetterKey('a'), Platform::TKey::A);
  EXPECT_EQ(Platform::LetterKey('Z'), Platform::TKey::Z);
  EXPECT_EQ(Platform::LetterKey('q'), Platform::TKey::Q);
  for (char Other : {'@', '[', '`', '{', '1', ' '})
    EXPECT_EQ(Platform::LetterKey(Other), Platform::TKey::Count) << Other;
}

}  // namespace
