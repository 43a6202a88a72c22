// The XDG paths and the one-copy lock, on real files in a scratch folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "linux/kit/one_copy_lock.h"
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
