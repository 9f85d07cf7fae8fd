#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "workflow/files/MediaFolderWalk.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"
#include "support/TestNeeds.h"

namespace {

namespace fs = std::filesystem;

TEST(MediaFolderWalkTest, MediaExtensionsWithoutRegardToCase) {
  for (const char* name : {"a.mp4", "a.MP4", "b.Mts", "c.m2ts", "d.3g2", "e.webm", "f.HEIC", "g.heif", "h.jpeg",
                           "i.JPG", "j.png", "k.wma", "l.x.mov", "m.3GP", "n.m4v", "o.QT", "p.3gpp", "q.m4b", "r.Opus",
                           "s.mka", "t.asf", "u.mpeg", "v.vob", "w.flv", "x.ogg", "y.wav", "z.ts"})
    EXPECT_TRUE(HasMediaExtension(name)) << name;
  for (const char* name : {"a.txt", "mp4", "a.mp4.part", "a.", "a.mp4/b", ".mp4x", "a.tiff", "a.xmp", "a.AAE"})
    EXPECT_FALSE(HasMediaExtension(name)) << name;
}

TEST(MediaFolderWalkTest, FilesLeftOutAreCountedByKindAndSidecarsOfMediaAreNot) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  TempFolder folder;
  const fs::path root = folder / "photos";
  fs::create_directories(root / "sub");
  // Sidecars of media files beside them: by name without extension, or ".xmp" on the whole name.
  for (const char* name : {"IMG_1.HEIC", "IMG_1.AAE", "IMG_1.xmp", "clip.MP4", "clip.MP4.XMP", "clip.thm", "clip.LRV",
                           "clip.srt", "sub/a.jpg", "sub/a.jpg.xmp"})
    folder.WriteFile("photos/" + std::string(name), "data");
  // Not media and nobody's sidecar: the sidecar of a file elsewhere, of a file that is
  // no media, a name without extension, and plain others.
  for (const char* name : {"IMG_2.xmp", "sub/IMG_1.AAE", "notes.txt", "notes.xmp", "sub/todo.TXT", "README",
                           "clip.MP4.part", "sub/.hidden.txt"})
    folder.WriteFile("photos/" + std::string(name), "data");
  fs::create_symlink(root / "notes.txt", root / "link.txt");

  const TFolderWalk walk = ExpandFolders({root.string()});
  EXPECT_EQ(walk.Files.size(), 3u);
  EXPECT_EQ(walk.LeftOut, (std::map<std::string, std::size_t>{
                              {".xmp", 2}, {".aae", 1}, {".txt", 2}, {"", 1}, {".part", 1}}));
  EXPECT_EQ(LeftOutText(walk), "left out 7 files that are not media: .txt 2, .xmp 2, no extension 1, .aae 1, .part 1");
  EXPECT_EQ(LeftOutText(WalkMediaFolder((root / "sub").string())), "left out 2 files that are not media: .aae 1, .txt 1");
  EXPECT_EQ(LeftOutText(TFolderWalk{{"a.mp4"}, {}, {}}), "");
  EXPECT_EQ(LeftOutText(TFolderWalk{{}, {}, {{".txt", 1}}}), "left out 1 file that is not media: .txt 1");
}

TEST(MediaFolderWalkTest, MediaFilesBelowTheFolderSortedByteByByte) {
  MORVANE_NEEDS(Missing(TNeed::Fifos));
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  TempFolder folder;
  const fs::path root = folder / "photos";
  fs::create_directories(root / "b" / "deep");
  fs::create_directories(root / "a.b");
  fs::create_directories(root / ".hidden folder");
  for (const char* name : {"b/deep/z.MOV", "b/x.mp4", "a.b/y.jpg", "Z.mp4", "a.MTS", "\xC3\xA9t\xC3\xA9.heic",
                           "notes.txt", ".hidden.mp4", ".hidden folder/in.mp4", "b/.x.mp4"})
    folder.WriteFile("photos/" + std::string(name), "data");
  fs::create_symlink(root / "b" / "x.mp4", root / "link.mp4");
  fs::create_directory_symlink(root / "b", root / "linked folder");
  fs::create_directory_symlink(root, root / "b" / "loop");
  ASSERT_EQ(MakeFifo(root / "pipe.mp4"), 0);
  fs::create_directory(root / "folder.mp4");

  const TFolderWalk walk = WalkMediaFolder(root.string());
  const std::string base = root.string() + "/";
  // "Z" (0x5A) before "a"; "a.MTS" before "a.b/" ('M' < 'b'); "b/deep" before "b/x"; é (0xC3) last.
  EXPECT_EQ(walk.Files, (std::vector<std::string>{base + "Z.mp4", base + "a.MTS", base + "a.b/y.jpg",
                                                  base + "b/deep/z.MOV", base + "b/x.mp4",
                                                  base + "\xC3\xA9t\xC3\xA9.heic"}));
  EXPECT_TRUE(walk.Problems.empty());
  // A trailing delimiter on the folder gives the same paths.
  EXPECT_EQ(WalkMediaFolder(base).Files, walk.Files);
}

TEST(MediaFolderWalkTest, AnUnreadableFolderIsReportedAndTheRestWalked) {
  MORVANE_NEEDS(Missing(TNeed::PosixPermissions));
  TempFolder folder;
  fs::create_directories(folder / "top" / "closed");
  folder.WriteFile("top/closed/hidden away.mp4", "data");
  folder.WriteFile("top/open.mp4", "data");
  fs::permissions(folder / "top" / "closed", fs::perms::none);
  const auto seen = RunUnprivileged([&folder] {
    const TFolderWalk walk = WalkMediaFolder((folder / "top").string());
    std::string text;
    for (const std::string& file : walk.Files) text += file + "\n";
    for (const std::string& problem : walk.Problems) text += "problem " + problem + "\n";
    return text;
  });
  if (!seen) GTEST_SKIP() << "cannot drop root's rights here";
  // The check needs the temporary root itself open to the unprivileged user.
  if (seen->find("problem " + (folder / "top").string() + ":") != std::string::npos)
    GTEST_SKIP() << "the temporary folder is closed to the unprivileged user";
  EXPECT_EQ(*seen, (folder / "top" / "open.mp4").string() + "\nproblem " + (folder / "top" / "closed").string() +
                       ": Permission denied\n");
}

TEST(MediaFolderWalkTest, APathThatIsNoFolderGivesNoFiles) {
  TempFolder folder;
  const fs::path file = folder.WriteFile("a.mp4", "data");
  for (const fs::path& path : {file, folder / "missing"}) {
    const TFolderWalk walk = WalkMediaFolder(path.string());
    EXPECT_TRUE(walk.Files.empty());
    EXPECT_EQ(walk.Problems, std::vector<std::string>{path.string() + ": not a folder"});
  }
}

// While the walk runs, another process swaps a folder below for a link to a folder outside
// and back. Whenever the walk meets the name, it must enter the folder it listed or nothing.
TEST(MediaFolderWalkTest, AFolderSwappedForALinkDuringTheWalkIsNotFollowed) {
  MORVANE_NEEDS(Missing(TNeed::SymbolicLinks));
  TempFolder folder;
  const fs::path root = folder / "root";
  fs::create_directories(root / "sub");
  fs::create_directories(folder / "outside");
  folder.WriteFile("root/sub/inside.mp4", "data");
  folder.WriteFile("outside/secret.mp4", "data");
  // Entries read between the listing of "sub" and its opening widen the gap a swap needs.
  for (int file = 0; file < 300; ++file) folder.WriteFile("root/f" + std::to_string(file) + ".txt", "");
  // Hidden names, which the walk leaves out, hold whichever of the two is not in place.
  fs::create_directory_symlink(folder / "outside", root / ".link");
  std::atomic<bool> done{false};
  std::thread swapper([&] {
    while (!done) {
      fs::rename(root / "sub", root / ".real");
      fs::rename(root / ".link", root / "sub");
      fs::rename(root / "sub", root / ".link");
      fs::rename(root / ".real", root / "sub");
    }
  });
  int followed = 0;
  for (int walk = 0; walk < 400; ++walk)
    for (const std::string& file : WalkMediaFolder(root.string()).Files)
      if (file.ends_with("secret.mp4")) ++followed;
  done = true;
  swapper.join();
  EXPECT_EQ(followed, 0);
}

}  // namespace
