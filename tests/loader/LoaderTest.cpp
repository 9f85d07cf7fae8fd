// The loader against the real media libraries and tiny stand-ins built with the tests.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "Base/FFError.h"
#include "FFLoad/EntryPoints.h"
#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"
#include "Text/Format.h"
#include "log/LogCapture.h"
#include "platform/DynamicLibrary.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/LibraryNames.h"
#include "platform/Text.h"
#include "support/ScopedEnvVar.h"
#include "support/TempFolder.h"

#ifdef _WIN32
#include "platform/Win32Support.h"
#endif

namespace {

namespace fs = std::filesystem;

std::u16string FakeFolder(const char* name) {
  return platform::NarrowToWide(std::string(FAKE_LIBRARY_ROOT) + "/" + name);
}

std::string Narrow(const std::u16string& text) { return platform::WideToNarrow(text); }

// The file a versioned library goes by on this system.
std::string SystemFileName(const std::string& base, int major) {
#ifdef _WIN32
  return base + "-" + std::to_string(major) + ".dll";
#else
  return "lib" + base + ".so." + std::to_string(major);
#endif
}

// A file the system cannot find anywhere.
const std::string MissingFileName = SystemFileName("morvane-missing", 1);
const std::string ProbeFileName = SystemFileName("morvane-probe", 1);

// The folder as the loader names it: absolute, ending with the system's delimiter.
std::string FolderAsLoaded(const std::u16string& folder) {
  return platform::ExpandFileName(Narrow(folder)) + platform::PathDelimiter;
}

// What the system says when a library lacks the export `name`.
std::string MissingExportText(const std::string& name) {
#ifdef _WIN32
  static_cast<void>(name);  // the system's text does not name the export
  return platform::win32::SystemMessage(ERROR_PROC_NOT_FOUND);
#else
  return "undefined symbol: " + name;
#endif
}

// Every case starts and ends with nothing loaded and no folder or name overrides.
class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    TFFLoader& loader = FFLoader();
    loader.UnloadLibs(AllLibraries);
    loader.SetLibraryPath({});
    for (int i = 0; i < LibraryCount; ++i) loader.SetLibraryFileName(i, {});
  }
  static void ExpectNothingLoaded() {
    for (int i = 0; i < LibraryCount; ++i) EXPECT_FALSE(FFLoader().IsLoaded(i)) << "library " << i;
  }
};

TEST_F(LoaderTest, FileNamesCarryTheVersionsOfTheHeadersBuiltAgainst) {
  TFFLoader& loader = FFLoader();
  EXPECT_EQ(Narrow(loader.LibraryFileName(liAVCodec)), SystemFileName("avcodec", LIBAVCODEC_VERSION_MAJOR));
  EXPECT_EQ(Narrow(loader.LibraryFileName(liAVUtil)), SystemFileName("avutil", LIBAVUTIL_VERSION_MAJOR));
  EXPECT_EQ(Narrow(loader.LibraryFileName(liSwResample)), SystemFileName("swresample", LIBSWRESAMPLE_VERSION_MAJOR));
#ifdef _WIN32
  EXPECT_EQ(Narrow(loader.LibraryFileName(liCRuntime)), "msvcrt.dll");
  EXPECT_EQ(Narrow(loader.LibraryFileName(liSoundTouch)), "SoundTouch.dll");
#else
  EXPECT_EQ(Narrow(loader.LibraryFileName(liCRuntime)), "libc.so.6");
  EXPECT_EQ(Narrow(loader.LibraryFileName(liSoundTouch)), "libSoundTouchDll.so.1");
#endif
  loader.SetLibraryFileName(liSwScale, u"/opt/x/libother.so");
  EXPECT_EQ(Narrow(loader.LibraryFileName(liSwScale)), "/opt/x/libother.so");
}

TEST_F(LoaderTest, CheckLibsNamesTheFirstMissingLibraryByItsBaseName) {
  try {
    FFLoader().CheckLibs(DecoderLibraries);
    FAIL() << "CheckLibs passed with nothing loaded";
  } catch (const EFFError& error) {
    EXPECT_STREQ(error.what(), "Library avcodec not loaded.");
  }
  EXPECT_NO_THROW(FFLoader().CheckLibs(0));
}

TEST_F(LoaderTest, EmptySetsAreCallerErrors) {
  EXPECT_THROW(FFLoader().LoadLibs(0), EAssertionFailed);
  EXPECT_THROW(FFLoader().LibsLoaded(0), EAssertionFailed);
  EXPECT_THROW(FFLoader().UnloadLibs(0), EAssertionFailed);
}

TEST_F(LoaderTest, LoadsTheDecoderSetFromTheSystemAndAgainWithoutReloading) {
  TFFLoader& loader = FFLoader();
  ASSERT_TRUE(loader.LoadLibs(DecoderLibraries)) << loader.LastErrMsg();
  EXPECT_TRUE(loader.LibsLoaded(DecoderLibraries));
  EXPECT_FALSE(loader.IsLoaded(liAVDevice));
  EXPECT_FALSE(loader.IsLoaded(liAVFilter));
  EXPECT_FALSE(loader.IsLoaded(liSoundTouch));
  auto* const openInput = ff::avformat.avformat_open_input;
  ASSERT_TRUE(loader.LoadLibs(DecoderLibraries));
  EXPECT_EQ(ff::avformat.avformat_open_input, openInput);
  EXPECT_NO_THROW(loader.CheckLibs(DecoderLibraries));
}

TEST_F(LoaderTest, LibrariesOutsideTheDecoderSetLoadAndBindToo) {
  TFFLoader& loader = FFLoader();
#ifdef _WIN32
  // The Windows build ships no sound stretcher library.
  const TLibrarySet installed = AllLibraries & ~LibraryBit(liSoundTouch);
#else
  const TLibrarySet installed = AllLibraries;
#endif
  ASSERT_TRUE(loader.LoadLibs(installed)) << loader.LastErrMsg();
  EXPECT_NE(ff::avdevice.avdevice_register_all, nullptr);
  EXPECT_NE(ff::avfilter.avfilter_graph_alloc, nullptr);
#ifndef _WIN32
  EXPECT_NE(ff::SoundTouch.soundtouch_createInstance, nullptr);
#endif
  loader.UnloadLib(liAVFilter);
  EXPECT_EQ(ff::avfilter.avfilter_graph_alloc, nullptr);
  EXPECT_TRUE(loader.IsLoaded(liAVFormat));
}

TEST_F(LoaderTest, ALibraryLackingARequiredNameIsRefusedAndTheWholeSetUnloaded) {
  TFFLoader& loader = FFLoader();
  const std::u16string folder = FakeFolder("lacking");
  loader.SetLibraryPath(folder);
  EXPECT_FALSE(loader.LoadLibs(DecoderLibraries));
  const std::string fileName = SystemFileName("swscale", LIBSWSCALE_VERSION_MAJOR);
  const std::string expectedStart = "Load function sws_scale@" + fileName + " error: ";
  EXPECT_EQ(loader.LastErrMsg().substr(0, expectedStart.size()), expectedStart) << loader.LastErrMsg();
  EXPECT_NE(loader.LastErrMsg().find(MissingExportText("sws_scale")), std::string::npos) << loader.LastErrMsg();
  const TLoadFailure failure = loader.LastFailure();
  EXPECT_EQ(failure.Step, TLoadFailure::TStep::EntryPoint);
  EXPECT_EQ(failure.Library, liSwScale);
  EXPECT_EQ(failure.EntryPoint, "sws_scale");
  EXPECT_EQ(failure.Path, fileName);
  ExpectNothingLoaded();
  EXPECT_EQ(ff::avformat.avformat_open_input, nullptr);
  EXPECT_EQ(ff::swscale.sws_getContext, nullptr) << "slots of a refused library stay empty";
  EXPECT_EQ(platform::IsModuleResident(FolderAsLoaded(folder) + fileName),
            platform::ModulesStayMapped)
      << "the refused module is released";
}

TEST_F(LoaderTest, ARefusedLibraryLeavesEveryTableOfTheSetEmpty) {
  TFFLoader& loader = FFLoader();
  loader.SetLibraryPath(FakeFolder("lacking-in-the-middle"));
  EXPECT_FALSE(loader.LoadLibs(DecoderLibraries));
  const std::string expectedStart =
      "Load function swr_free@" + SystemFileName("swresample", LIBSWRESAMPLE_VERSION_MAJOR) + " error: ";
  EXPECT_EQ(loader.LastErrMsg().substr(0, expectedStart.size()), expectedStart) << loader.LastErrMsg();
  EXPECT_NE(loader.LastErrMsg().find(MissingExportText("swr_free")), std::string::npos) << loader.LastErrMsg();
  for (int index = 0; index < LibraryCount; ++index) {
    EXPECT_FALSE(loader.IsLoaded(index)) << "library " << index;
    EXPECT_TRUE(ff::EntriesEmpty(index)) << "library " << index;
  }
}

// The versions the loader reports as it binds, as the relay receives them.
class LoaderVersionTest : public LoaderTest {
 protected:
  static std::string Version(unsigned packed) {
    return text::Format("%d.%d.%d", {AV_VERSION_MAJOR(packed), AV_VERSION_MINOR(packed), AV_VERSION_MICRO(packed)});
  }
  TFFLogger logger_;
  LogCapture capture_{logger_};
};

TEST_F(LoaderVersionTest, EachVersionedLibraryIsReportedOnceWhenItIsBound) {
  TFFLoader& loader = FFLoader();
  ASSERT_TRUE(loader.LoadLibs(DecoderLibraries)) << loader.LastErrMsg();
  struct Row {
    int index;
    std::string name;
    unsigned built;
  };
  const Row rows[] = {{liAVCodec, "avcodec", LIBAVCODEC_VERSION_INT},
                      {liAVFormat, "avformat", LIBAVFORMAT_VERSION_INT},
                      {liAVUtil, "avutil", LIBAVUTIL_VERSION_INT},
                      {liSwResample, "swresample", LIBSWRESAMPLE_VERSION_INT},
                      {liSwScale, "swscale", LIBSWSCALE_VERSION_INT}};
  std::vector<std::string> expected;
  for (const Row& row : rows) {
    const unsigned running = ff::RunningVersion(row.index);
    ASSERT_EQ(AV_VERSION_MAJOR(running), AV_VERSION_MAJOR(row.built)) << row.name;
    expected.push_back(row.name + " " + Version(running) + " loaded, built with " + Version(row.built));
  }
  std::vector<std::string> reported;
  for (const LoggedMessage& entry : capture_.Entries()) {
    EXPECT_EQ(entry.level, llInfo) << entry.message;
    reported.push_back(entry.message);
  }
  EXPECT_EQ(reported, expected);

  ASSERT_TRUE(loader.LoadLibs(DecoderLibraries));
  EXPECT_EQ(capture_.Entries().size(), expected.size()) << "libraries that stay bound are not reported again";
}

TEST_F(LoaderVersionTest, AnotherMajorVersionIsAWarning) {
  TFFLoader& loader = FFLoader();
  loader.SetLibraryPath(FakeFolder("other-major"));
  ASSERT_TRUE(loader.LoadLib(liSwScale)) << loader.LastErrMsg();
  const std::string running = std::to_string(LIBSWSCALE_VERSION_MAJOR + 1) + ".1.2";
  const auto entries = capture_.Entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].level, llWarning);
  EXPECT_EQ(entries[0].message, "swscale " + running + " loaded, but the program was built with " +
                                    Version(LIBSWSCALE_VERSION_INT) + ": the major versions differ");
}

TEST_F(LoaderTest, ALibraryMissingEverywhereNamesTheFolderTriedFirst) {
  TFFLoader& loader = FFLoader();
  const std::u16string folder = FakeFolder("probe");
  loader.SetLibraryPath(folder);
  loader.SetLibraryFileName(liSwScale, platform::NarrowToWide(MissingFileName));
  EXPECT_FALSE(loader.LoadLibs(DecoderLibraries));
#ifdef _WIN32
  const std::string systemText = platform::win32::SystemMessage(ERROR_MOD_NOT_FOUND);
#else
  const std::string systemText = MissingFileName + ": cannot open shared object file: No such file or directory";
#endif
  EXPECT_EQ(loader.LastErrMsg(), "Load library " + FolderAsLoaded(folder) + MissingFileName + " error: " + systemText);
  const TLoadFailure failure = loader.LastFailure();
  EXPECT_EQ(failure.Step, TLoadFailure::TStep::Module);
  EXPECT_EQ(failure.Library, liSwScale);
  EXPECT_EQ(failure.EntryPoint, "");
  ExpectNothingLoaded();
}

// A broken file in the folder is refused with the system's reason; the system's own copy of
// the library is not taken in its place.
TEST_F(LoaderTest, AFileInTheFolderThatIsNoLibraryIsRefused) {
  TFFLoader& loader = FFLoader();
  const TempFolder root;
  const std::string fileName = SystemFileName("swscale", LIBSWSCALE_VERSION_MAJOR);
  root.WriteFile(fileName, "not a library");
  loader.SetLibraryPath(Wide(root.path()));
  EXPECT_FALSE(loader.LoadLibs(DecoderLibraries));
  const std::string expectedStart = "Load library " + FolderAsLoaded(Wide(root.path())) + fileName + " error: ";
  EXPECT_EQ(loader.LastErrMsg().substr(0, expectedStart.size()), expectedStart) << loader.LastErrMsg();
  EXPECT_GT(loader.LastErrMsg().size(), expectedStart.size()) << "the system's reason follows";
  EXPECT_EQ(loader.LastFailure().Step, TLoadFailure::TStep::Module);
  EXPECT_EQ(loader.LastFailure().Library, liSwScale);
  ExpectNothingLoaded();
}

TEST_F(LoaderTest, LastErrMsgSurvivesALaterSuccess) {
  TFFLoader& loader = FFLoader();
  loader.SetLibraryFileName(liSwScale, platform::NarrowToWide(MissingFileName));
  ASSERT_FALSE(loader.LoadLibs(DecoderLibraries));
  const std::string failure = loader.LastErrMsg();
  loader.SetLibraryFileName(liSwScale, {});
  ASSERT_TRUE(loader.LoadLibs(DecoderLibraries));
  EXPECT_EQ(loader.LastErrMsg(), failure);
}

TEST_F(LoaderTest, LoadingFromAFolderPutsItOnPathOnceAndKeepsTheCurrentDirectory) {
  const std::u16string folder = FakeFolder("probe");
  const std::string before = platform::GetCurrentDir();
  std::string error;
  platform::ModuleHandle module = LoadLibraryInFolder(folder, platform::NarrowToWide(ProbeFileName), error);
  ASSERT_NE(module, nullptr) << error;
  auto* answer = reinterpret_cast<int (*)()>(platform::FindSymbol(module, "morvane_probe_answer", error));
  ASSERT_NE(answer, nullptr) << error;
  EXPECT_EQ(answer(), 42);
  EXPECT_TRUE(platform::IsModuleResident(FolderAsLoaded(folder) + ProbeFileName));
  EXPECT_EQ(platform::GetCurrentDir(), before);
  const std::string path = platform::GetEnvVar("PATH");
  const std::string entry = FolderAsLoaded(folder) + platform::PathListSeparator;
  EXPECT_EQ(path.substr(0, entry.size()), entry);

  platform::ModuleHandle again = LoadLibraryInFolder(folder, platform::NarrowToWide(ProbeFileName), error);
  EXPECT_EQ(platform::GetEnvVar("PATH"), path) << "a folder already on PATH is not added twice";
  platform::FreeModule(again);
  platform::FreeModule(module);
}

// An entry naming the folder in another spelling counts as the folder; an entry that only
// begins with its name does not.
TEST_F(LoaderTest, TheFolderGoesOnPathUnlessAnEntryNamesIt) {
  const std::u16string folder = FakeFolder("probe");
  const std::string asLoaded = FolderAsLoaded(folder);
  std::string sameFolder = asLoaded.substr(0, asLoaded.size() - 1);  // no closing delimiter
#ifdef _WIN32
  for (char& c : sameFolder) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
  const std::string separator(1, platform::PathListSeparator);
  const auto pathAfterLoading = [&](const char* path) {
    const ScopedEnvVar scoped("PATH", path);
    std::string error;
    platform::ModuleHandle module = LoadLibraryInFolder(folder, platform::NarrowToWide(ProbeFileName), error);
    EXPECT_NE(module, nullptr) << error;
    platform::FreeModule(module);
    return platform::GetEnvVar("PATH");
  };
  const std::string holding = "first" + separator + sameFolder + separator + "last";
  EXPECT_EQ(pathAfterLoading(holding.c_str()), holding);
  const std::string deeper = asLoaded + "deeper";
  EXPECT_EQ(pathAfterLoading(deeper.c_str()), asLoaded + separator + deeper);
  EXPECT_EQ(pathAfterLoading(nullptr), asLoaded) << "no empty entry, which would name the working folder";
}

// A bare name goes through the system's search, which leaves out the working folder.
TEST_F(LoaderTest, ABareNameIsNotLoadedFromTheWorkingFolder) {
  // A name no other case loads, which therefore cannot be resident already.
  const std::string copyName = SystemFileName("morvane-probe-copy", 1);
  const TempFolder root;
  fs::copy_file(Narrow(FakeFolder("probe")) + "/" + ProbeFileName, root / copyName);
  const fs::path before = fs::current_path();
  fs::current_path(root.path());
  std::string error;
  platform::ModuleHandle module = LoadLibraryInFolder({}, platform::NarrowToWide(copyName), error);
  fs::current_path(before);
  EXPECT_EQ(module, nullptr);
  platform::FreeModule(module);
}

// A relative folder is the one below the working folder at the call, not the folder of
// that name inside itself once the loader has made it current.
TEST_F(LoaderTest, ARelativeFolderIsLoadedFromOnceAndNotFromWithinItself) {
  const TempFolder root;
  fs::create_directories(root / "lib" / "lib");
  fs::copy_file(Narrow(FakeFolder("probe")) + "/" + ProbeFileName, root / "lib" / ProbeFileName);
  root.WriteFile("lib/lib/" + ProbeFileName, "not a library");
  const fs::path before = fs::current_path();
  fs::current_path(root.path());
  std::string error;
  platform::ModuleHandle module = LoadLibraryInFolder(u"lib", platform::NarrowToWide(ProbeFileName), error);
  fs::current_path(before);
  ASSERT_NE(module, nullptr) << error;
  EXPECT_NE(platform::FindSymbol(module, "morvane_probe_answer", error), nullptr) << error;
  platform::FreeModule(module);
}

TEST_F(LoaderTest, ALibraryMissingFromTheFolderIsLookedForByItsBareName) {
  std::string error;
  platform::ModuleHandle module = LoadLibraryInFolder(FakeFolder("probe"), platform::CRuntimeFileName, error);
  EXPECT_NE(module, nullptr) << error;
  platform::FreeModule(module);
}

}  // namespace
