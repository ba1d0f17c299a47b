#include "app/data_folder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "problems/problem_import.h"

namespace sol {
namespace {

namespace fs = std::filesystem;

const std::string DataOption = "--data";

std::string Absolute(const std::string& dir, const std::string& base) {
  if (dir.empty() || fs::path(dir).is_absolute() || base.empty()) return dir;
  return (fs::path(base) / dir).lexically_normal().string();
}

std::string UserFolder(const FolderInputs& in) {
  // A relative XDG_DATA_HOME is not to be used.
  if (!in.xdgDataHome.empty() && fs::path(in.xdgDataHome).is_absolute()) return in.xdgDataHome + "/solneka";
  if (!in.home.empty()) return in.home + "/.local/share/solneka";
  return {};
}

Str Where(DataOrigin origin) {
  switch (origin) {
    case DataOrigin::Option:
      return u"（--data で指定）";
    case DataOrigin::Environment:
      return u"（環境変数 SOLNEKA_HOME で指定）";
    case DataOrigin::ProgramFolder:
      return u"（プログラムのフォルダ）";
    case DataOrigin::UserFolder:
      break;
  }
  return u"";
}

}  // namespace

FolderChoice ChooseFolders(const FolderInputs& in) {
  FolderChoice out;
  std::string option;
  bool given = false;
  for (size_t i = 0; i < in.arguments.size(); ++i) {
    const std::string& a = in.arguments[i];
    if (a == DataOption) {
      if (i + 1 == in.arguments.size() || in.arguments[i + 1].empty()) {
        out.error = u"--data のあとにデータの保存先のフォルダを指定してください。\n例: solneka --data ~/囲碁データ";
        return out;
      }
      option = in.arguments[++i];
      given = true;
    } else if (a.rfind(DataOption + "=", 0) == 0) {
      option = a.substr(DataOption.size() + 1);
      given = true;
      if (option.empty()) {
        out.error =
            u"--data= のあとにデータの保存先のフォルダを指定してください。\n例: solneka --data=/home/名前/囲碁データ";
        return out;
      }
    } else if (a == "--self-check") {
      out.selfCheck = true;
    } else {
      out.files.push_back(a);
    }
  }

  const bool portable = in.holdsShippedFiles && in.holdsShippedFiles(in.programDir);
  out.shareDir = portable || in.installedShareDir.empty() ? in.programDir : in.installedShareDir;

  if (given) {
    out.dataDir = Absolute(option, in.workingDir);
    out.origin = DataOrigin::Option;
  } else if (!in.solnekaHome.empty()) {
    out.dataDir = Absolute(in.solnekaHome, in.workingDir);
    out.origin = DataOrigin::Environment;
  } else if (portable && in.writable && in.writable(in.programDir)) {
    // A portable copy (also the build tree) keeps its data beside itself.
    out.dataDir = in.programDir;
    out.origin = DataOrigin::ProgramFolder;
  } else {
    out.dataDir = UserFolder(in);
    out.origin = DataOrigin::UserFolder;
    if (out.dataDir.empty())
      out.error =
          u"データの保存先が決められません（環境変数 HOME も XDG_DATA_HOME もありません）。\n"
          u"--data でフォルダを指定して起動してください。";
  }
  return out;
}

bool CanWriteFolder(const std::string& dir) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return false;
  const fs::path probe = fs::path(dir) / ".solneka-write-check";
  {
    std::ofstream f(probe, std::ios::binary | std::ios::trunc);
    if (!f || !(f << 'x') || !f.flush()) {
      fs::remove(probe, ec);
      return false;
    }
  }
  return fs::remove(probe, ec) && !ec;
}

Str PrepareDataFolder(const std::string& dir, DataOrigin origin) {
  std::error_code ec;
  const bool folder = fs::is_directory(dir, ec) || (fs::create_directories(dir, ec), fs::is_directory(dir, ec));
  const Str place = FromUtf8(dir) + Where(origin);
  if (!folder)
    return u"データの保存先のフォルダを作れません。\n" + place +
           u"\n\n別のフォルダを --data で指定して起動してください。データは何も変わっていません。";
  if (!CanWriteFolder(dir))
    return u"データの保存先のフォルダに書き込めません。\n" + place +
           u"\n\nフォルダの書き込みの権限を確かめるか、別のフォルダを --data で指定して起動してください。"
           u"データは何も変わっていません。";
  return {};
}

std::string DescribeFolders(const GameState& s, bool& ok) {
  ok = true;
  std::error_code ec;
  std::string out = "data folder: " + s.DataDir + "\nshare folder: " + s.ShareDir + "\n";
  auto file = [&](const std::string& label, const std::string& path) {
    const bool there = fs::is_regular_file(path, ec) && fs::file_size(path, ec) > 0;
    ok = ok && there;
    out += label + ": " + path + (there ? "" : " (missing)") + "\n";
  };
  file("help file", s.ShareDir + "ソルネカ.HLP");
  file("sound", s.ShareDir + "sounds/chord.wav");
  file("sound", s.ShareDir + "sounds/ding.wav");
  size_t starter = 0;
  try {
    for (int category = 1; category <= 4; ++category) starter += StarterFiles(StarterLibrary(s), category).size();
  } catch (const FileError&) {
  }
  ok = ok && starter > 0;
  out += "starter problem files: " + std::to_string(starter) + " in " + StarterLibrary(s) + "\n";
  const bool stored = fs::is_regular_file(s.ProblemListFile, ec) && fs::file_size(s.ProblemListFile, ec) > 0;
  ok = ok && stored;
  out += std::string("problems stored in the data folder: ") + (stored ? "yes" : "no") + "\n";
  return out;
}

}  // namespace sol
