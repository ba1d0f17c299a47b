#include "sgf/sgf_files.h"

#include <cctype>

#include "core/cp932.h"

namespace sol {

namespace {

Str Missing(const Str& name) { return u"ファイル「" + name + u"」が見つかりません。"; }
Str TooLarge(const Str& name, long megabytes) {
  return u"ファイル「" + name + u"」は大きすぎます（" + Num(megabytes) + u"MBまで）。";
}
Str Unreadable(const Str& name) { return u"ファイル「" + name + u"」を読めません。"; }
Str Unwritable(const Str& name) {
  return u"ファイル「" + name + u"」に書き込めません。保存先のフォルダと空き容量を確かめてください。";
}
Str MoreNotes(long more) { return u"ほか" + Num(more) + u"件"; }

}  // namespace

sgf::Collection ReadSgfCollection(const std::string& path) {
  std::string bytes;
  try {
    bytes = ReadUserFile(path, sgf::MaxFileBytes);
  } catch (const UserFileError& e) {
    throw SgfFileError{UserFileErrorText(e)};
  }
  try {
    return sgf::ParseCollection(bytes);
  } catch (const sgf::SgfError& e) {
    throw SgfFileError{e.Message()};
  }
}

Str UserFileErrorText(const UserFileError& e) {
  const Str name = FromUtf8(FileNameOf(e.path));
  switch (e.kind) {
    case UserFileError::Missing:
      return Missing(name);
    case UserFileError::TooLarge:
      return TooLarge(name, static_cast<long>(sgf::MaxFileBytes >> 20));
    case UserFileError::Unreadable:
      return Unreadable(name);
    case UserFileError::Unwritable:
      break;
  }
  return Unwritable(name);
}

Str StorableText(const Str& raw, int maxChars) {
  Str text;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char16_t c = raw[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < raw.size() && raw[i + 1] >= 0xDC00 && raw[i + 1] <= 0xDFFF) {
      text += u'〓';  // one mark for the whole pair
      ++i;
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      text += u' ';
    } else {
      text += CanEncode(c) ? c : u'〓';
    }
  }
  return Left(text, maxChars);
}

Str SafeFileName(Str name) {
  for (char16_t& c : name)
    if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' ||
        c == u'|' || c < 0x20)
      c = u'_';
  return name;
}

Str NotesText(const Str& heading, const std::vector<Str>& notes) {
  constexpr size_t shown = 12;
  Str text = heading;
  for (size_t i = 0; i < notes.size() && i < shown; ++i) text += u"\n・" + notes[i];
  if (notes.size() > shown) text += u"\n" + MoreNotes(static_cast<long>(notes.size() - shown));
  return text;
}

Str FileStem(const std::string& path) {
  std::string name = FileNameOf(path);
  if (name.size() > 4) {
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".sgf") name.resize(name.size() - 4);
  }
  return FromUtf8(name);
}

}  // namespace sol
