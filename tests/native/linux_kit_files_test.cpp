// The XDG paths, the one-copy lock and the settings file, on real files in a
// scratch folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/ini_rules.h"
#include "linux/kit/ini_text.h"
#include "linux/kit/one_copy_lock.h"
#include "linux/kit/settings_file.h"
#include "linux/kit/xdg_paths.h"

namespace {

std::string Path(bool (*make)(const XdgEnvironment&, KitPath*), XdgEnvironment env) {
  KitPath path;
  if (!make(env, &path)) return "(none)";
  return path.text;
}

TEST(XdgPaths, ConfigHomeWinsAndHomeIsTheFallback) {
  EXPECT_EQ(Path(SettingsFile, {"/cfg", nullptr, "/home/u"}), "/cfg/tovik2/tovik2.ini");
  EXPECT_EQ(Path(SettingsFile, {"/cfg/", nullptr, "/home/u"}), "/cfg/tovik2/tovik2.ini");
  EXPECT_EQ(Path(SettingsFile, {nullptr, nullptr, "/home/u"}), "/home/u/.config/tovik2/tovik2.ini");
  EXPECT_EQ(Path(SettingsFolder, {nullptr, nullptr, "/home/u"}), "/home/u/.config/tovik2");
}

TEST(XdgPaths, EmptyOrRelativeValuesAreIgnored) {
  EXPECT_EQ(Path(SettingsFile, {"", nullptr, "/home/u"}), "/home/u/.config/tovik2/tovik2.ini");
  EXPECT_EQ(Path(SettingsFile, {"cfg", nullptr, "/home/u"}), "/home/u/.config/tovik2/tovik2.ini");
  EXPECT_EQ(Path(SettingsFile, {nullptr, nullptr, nullptr}), "(none)");
  EXPECT_EQ(Path(SettingsFile, {"rel", nullptr, "also/rel"}), "(none)");
}

TEST(XdgPaths, TheLockLivesInTheRuntimeFolderElseBesideTheSettings) {
  EXPECT_EQ(Path(LockFile, {"/cfg", "/run/user/1000", "/home/u"}), "/run/user/1000/tovik2.lock");
  EXPECT_EQ(Path(LockFile, {"/cfg", "", "/home/u"}), "/cfg/tovik2/tovik2.lock");
  EXPECT_EQ(Path(LockFile, {nullptr, "run", "/home/u"}), "/home/u/.config/tovik2/tovik2.lock");
  EXPECT_EQ(Path(LockFile, {nullptr, nullptr, nullptr}), "(none)");
}

TEST(XdgPaths, APathTooLongFailsRatherThanBeingCut) {
  std::string longHome = "/" + std::string(KitPath::kCapacity - 10, 'h');
  EXPECT_EQ(Path(SettingsFolder, {nullptr, nullptr, longHome.c_str()}), "(none)");
  std::string fits = "/" + std::string(KitPath::kCapacity - 40, 'h');
  EXPECT_EQ(Path(SettingsFile, {fits.c_str(), nullptr, nullptr}), fits + "/tovik2/tovik2.ini");
}

class ScratchFolder : public testing::Test {
 protected:
  void SetUp() override {
    snprintf(root_, sizeof root_, "%s/tovik2-kit-XXXXXX", getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp");
    ASSERT_NE(mkdtemp(root_), nullptr);
  }
  void TearDown() override {
    std::string command = std::string("rm -rf '") + root_ + "'";
    ASSERT_EQ(system(command.c_str()), 0);
  }
  std::string In(const char* name) const { return std::string(root_) + "/" + name; }
  char root_[256];
};

using MakeFoldersTest = ScratchFolder;

TEST_F(MakeFoldersTest, MakesEveryMissingParentPrivateToTheUser) {
  std::string deep = In("a/b/c/tovik2");
  ASSERT_TRUE(MakeFolders(deep.c_str()));
  struct stat info;
  ASSERT_EQ(stat(deep.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(MakeFolders(deep.c_str())) << "an existing folder is fine";
  EXPECT_TRUE(MakeFolders((deep + "/").c_str()));
}

TEST_F(MakeFoldersTest, FailsWhereAFileStandsInTheWay) {
  std::string file = In("plain");
  FILE* f = fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fclose(f);
  EXPECT_FALSE(MakeFolders(file.c_str()));
  EXPECT_FALSE(MakeFolders((file + "/below").c_str()));
}

using OneCopyLockTest = ScratchFolder;

TEST_F(OneCopyLockTest, ASecondTakerLearnsWhoHoldsItUntilItIsReleased) {
  std::string path = In("tovik2.lock");
  OneCopyLock first;
  pid_t holder = -1;
  ASSERT_EQ(OneCopyLock::Take(path.c_str(), &first, &holder), LockOutcome::Taken);
  EXPECT_TRUE(first.Held());
  EXPECT_EQ(holder, 0);

  OneCopyLock second;
  EXPECT_EQ(OneCopyLock::Take(path.c_str(), &second, &holder), LockOutcome::HeldByAnother);
  EXPECT_FALSE(second.Held());
  EXPECT_EQ(holder, getpid());

  OneCopyLock moved = static_cast<OneCopyLock&&>(first);
  EXPECT_FALSE(first.Held());
  EXPECT_EQ(OneCopyLock::Take(path.c_str(), &second, &holder), LockOutcome::HeldByAnother) << "moving keeps the lock";
  moved.Release();
  EXPECT_EQ(OneCopyLock::Take(path.c_str(), &second, &holder), LockOutcome::Taken);
}

TEST_F(OneCopyLockTest, AnotherProcessIsRefusedAndAnEndedOneLeavesNoStaleLock) {
  std::string path = In("tovik2.lock");
  OneCopyLock lock;
  ASSERT_EQ(OneCopyLock::Take(path.c_str(), &lock, nullptr), LockOutcome::Taken);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    OneCopyLock second;
    pid_t holder = 0;
    LockOutcome outcome = OneCopyLock::Take(path.c_str(), &second, &holder);
    _exit(outcome == LockOutcome::HeldByAnother && holder == getppid() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process saw the lock held";
  lock.Release();

  // A copy that dies holding the lock (never releasing it by hand) frees it.
  child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    OneCopyLock held;
    if (OneCopyLock::Take(path.c_str(), &held, nullptr) != LockOutcome::Taken) _exit(1);
    abort();
  }
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(OneCopyLock::Take(path.c_str(), &lock, nullptr), LockOutcome::Taken);
}

TEST_F(OneCopyLockTest, AFolderThatIsNotThereFails) {
  OneCopyLock lock;
  EXPECT_EQ(OneCopyLock::Take(In("missing/tovik2.lock").c_str(), &lock, nullptr), LockOutcome::Failed);
  EXPECT_FALSE(lock.Held());
}

}  // namespace

namespace {

std::string Slurp(const std::string& path) {
  std::string text;
  FILE* f = fopen(path.c_str(), "rb");
  if (f == nullptr) return "(none)";
  char block[4096];
  size_t got;
  while ((got = fread(block, 1, sizeof block, f)) > 0) text.append(block, got);
  fclose(f);
  return text;
}

void Spill(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(fwrite(text.data(), 1, text.size(), f), text.size());
  fclose(f);
}

}  // namespace

using SettingsFileTest = ScratchFolder;

TEST_F(SettingsFileTest, AFirstStartWritesEveryKeyAndTheNextReadsThemBackUntouched) {
  std::string path = In("tovik2.ini");
  SettingsRecord settings;
  ASSERT_EQ(LoadSettingsFile(path.c_str(), &settings), SettingsOutcome::kCreated);
  EXPECT_EQ(settings.quantity, 2) << "a first start has the defaults";
  EXPECT_EQ(settings.reactMouseClick, 1);
  std::string written = Slurp(path);
  EXPECT_EQ(written.rfind("[PIPWINK]\n", 0), 0u) << written;
  for (const char* key : {"IMAGEFOLDER=", "QUANTITY=2", "MOVERANGE=70", "MOUSECLICK=1", "MOUSEMOVE=1", "KEYENTRY=1",
                          "ENTERKEY=1", "FULLSCREENPAUSE=1", "HOTKEY=", "EXCLUDE=", "LANGUAGE="}) {
    EXPECT_NE(written.find(std::string("\n") + key), std::string::npos) << key << " in\n" << written;
  }
  SettingsRecord again;
  EXPECT_EQ(LoadSettingsFile(path.c_str(), &again), SettingsOutcome::kRead);
  EXPECT_EQ(CompairIniInfo(again, settings), 0);
  EXPECT_EQ(again.moveRange, settings.moveRange);
  EXPECT_EQ(Slurp(path), written) << "a complete file is not rewritten";
}

TEST_F(SettingsFileTest, AnOlderFileIsReadAndCompletedWithEveryForeignByteKept) {
  std::string path = In("tovik2.ini");
  std::string longLine = "; " + std::string(20000, 'x') + "\n";
  std::string odd = std::string("odd=\xff\xfe") + std::string(1, '\0') + "\x80\n";
  std::string before = "[other]\nQUANTITY=9\n" + longLine + "[pipwink]\r\n  quantity = 7 \r\nMouseMove=0\n" + odd +
                       "MOUSECLICK=1\nKEYENTRY=0\nENTERKEY=1\nMOVERANGE=30\n"
                       "IMAGEFOLDER=/home/u/\xe6\x98\x9f\n\n[tail]\nkept=1\n";
  Spill(path, before);
  SettingsRecord settings;
  ASSERT_EQ(LoadSettingsFile(path.c_str(), &settings), SettingsOutcome::kRead);
  EXPECT_EQ(settings.quantity, 7) << "the key of our section, in any letter case, blanks cut";
  EXPECT_EQ(settings.reactMouseMove, 0);
  EXPECT_EQ(settings.reactKey, 0);
  EXPECT_EQ(settings.moveRange, kMinMoveRange) << "the rules' limits apply";
  EXPECT_STREQ(settings.imageFolder, "/home/u/\xe6\x98\x9f");
  std::string after = Slurp(path);
  EXPECT_EQ(after.find("[other]\nQUANTITY=9\n" + longLine), 0u) << "other sections and long lines stay";
  EXPECT_NE(after.find(odd), std::string::npos) << "odd bytes stay";
  EXPECT_NE(after.find("  quantity = 7 \r\n"), std::string::npos) << "lines nobody changed stay as they were";
  size_t added = after.find("FULLSCREENPAUSE=1\n");
  ASSERT_NE(added, std::string::npos) << after;
  EXPECT_LT(added, after.find("[tail]")) << "new keys go into their own section";
  EXPECT_GT(added, after.find("IMAGEFOLDER="));
  EXPECT_NE(after.find("[tail]\nkept=1\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadGivesTheDefaultsAndIsNeverOverwritten) {
  std::string big = In("big.ini");
  std::string text = "[PIPWINK]\nQUANTITY=5\n" + std::string(IniText::kMaxBytes, ';');
  Spill(big, text);
  SettingsRecord settings;
  settings.quantity = 99;
  EXPECT_EQ(LoadSettingsFile(big.c_str(), &settings), SettingsOutcome::kUnreadable);
  EXPECT_EQ(settings.quantity, 2);
  EXPECT_EQ(Slurp(big), text);
  EXPECT_NE(SettingsComplaint(SettingsOutcome::kUnreadable), nullptr);

  std::string folder = In("folder.ini");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  EXPECT_EQ(LoadSettingsFile(folder.c_str(), &settings), SettingsOutcome::kUnreadable);

  if (geteuid() != 0) {  // the superuser reads any file
    std::string locked = In("locked.ini");
    Spill(locked, "[PIPWINK]\nQUANTITY=5\n");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    EXPECT_EQ(LoadSettingsFile(locked.c_str(), &settings), SettingsOutcome::kUnreadable);
    ASSERT_EQ(chmod(locked.c_str(), 0600), 0);
    EXPECT_EQ(Slurp(locked), "[PIPWINK]\nQUANTITY=5\n");
  }
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenKeepsTheSettingsInForce) {
  std::string nowhere = In("missing/tovik2.ini");
  SettingsRecord settings;
  EXPECT_EQ(LoadSettingsFile(nowhere.c_str(), &settings), SettingsOutcome::kUnwritten);
  EXPECT_EQ(settings.quantity, 2);
  EXPECT_NE(SettingsComplaint(SettingsOutcome::kUnwritten), nullptr);
  EXPECT_EQ(SettingsComplaint(SettingsOutcome::kCreated), nullptr);
}

TEST(IniText, ReadsCutWholeCharactersAndWritesRefuseLineBreaks) {
  IniText file(kIniSection);
  ASSERT_EQ(IniText::WriteKey(&file, "IMAGEFOLDER", "\xe6\x98\x9f\xe6\x98\x9f"), 1);
  char out[5];
  ASSERT_EQ(IniText::ReadKey(&file, "imagefolder", out, sizeof out), 1);
  EXPECT_STREQ(out, "\xe6\x98\x9f") << "never half a character";
  EXPECT_EQ(IniText::ReadKey(&file, "QUANTITY", out, sizeof out), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(IniText::WriteKey(&file, "IMAGEFOLDER", "a\nQUANTITY=99"), 0) << "a value cannot add a line";
  EXPECT_EQ(IniText::WriteKey(&file, "QUANTITY", std::string(IniText::kMaxBytes, '9').c_str()), 0);
  EXPECT_EQ(IniText::ReadKey(&file, "QUANTITY", out, sizeof out), 0);
  ASSERT_EQ(IniText::WriteKey(&file, "IMAGEFOLDER", ""), 1);
  EXPECT_EQ(IniText::ReadKey(&file, "IMAGEFOLDER", out, sizeof out), 1) << "an empty value is still there";
  EXPECT_STREQ(out, "");
}
