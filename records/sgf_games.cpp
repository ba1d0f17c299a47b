#include "records/sgf_games.h"

#include <cctype>

#include "core/cp932.h"
#include "core/text.h"
#include "records/form3.h"
#include "records/game_files.h"
#include "records/texts.h"
#include "sgf/sgf_tree.h"

namespace sol {

SgfFileGames ReadSgfGames(const std::string& path) {
  std::string bytes;
  try {
    bytes = ReadUserFile(path, sgf::MaxFileBytes);
  } catch (const UserFileError& e) {
    throw SgfFileError{UserFileErrorText(e)};
  }
  sgf::Collection collection;
  try {
    collection = sgf::ParseCollection(bytes);
  } catch (const sgf::SgfError& e) {
    throw SgfFileError{e.Message()};
  }
  SgfFileGames out;
  out.Notes = collection.Notes;
  const size_t count = collection.Games.size();
  for (size_t i = 0; i < count; ++i) {
    const Str place = count > 1 ? Num(static_cast<long>(i + 1)) + u"局目：" : Str();
    try {
      sgf::ImportedGame game = sgf::ConvertGame(collection.Games[i]);
      for (Str& note : game.Notes) note = place + note;
      out.Notes.insert(out.Notes.end(), game.Notes.begin(), game.Notes.end());
      if (game.Entries.empty()) {
        out.Notes.push_back(place + form3text::SgfEmptyGame);
        continue;
      }
      out.Games.push_back(std::move(game));
    } catch (const sgf::SgfError& e) {
      out.Notes.push_back(place + e.Message());
    }
  }
  if (out.Games.empty()) {
    Str message = form3text::SgfNoGame;
    for (const Str& note : out.Notes) message += u"\n" + note;
    throw SgfFileError{message};
  }
  return out;
}

Str UserFileErrorText(const UserFileError& e) {
  const Str name = FromUtf8(FileNameOf(e.path));
  switch (e.kind) {
    case UserFileError::Missing:
      return form3text::SgfMissing(name);
    case UserFileError::TooLarge:
      return form3text::SgfTooLarge(name, static_cast<long>(sgf::MaxFileBytes >> 20));
    case UserFileError::Unreadable:
      return form3text::SgfUnreadable(name);
    case UserFileError::Unwritable:
      break;
  }
  return form3text::SgfUnwritable(name);
}

Str StorableTitle(const sgf::GameInfo& info, const Str& fallback, int maxChars) {
  Str raw = Trim(sgf::GameTitle(info));
  if (raw.empty()) raw = Trim(fallback);
  Str title;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char16_t c = raw[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < raw.size() && raw[i + 1] >= 0xDC00 && raw[i + 1] <= 0xDFFF) {
      title += u'〓';  // one mark for the whole pair
      ++i;
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      title += u' ';
    } else {
      title += CanEncode(c) ? c : u'〓';
    }
  }
  return Left(title, maxChars);
}

Str LibraryLine(int n, const sgf::GameInfo& info, const Str& fallback, const Date& today) {
  // As the player types it: the number, a separator, the title.
  const int room = TitleChars - DateSuffixLength - 1;
  const std::optional<Date> date = sgf::GameDate(info.Date);
  return Right(Num(n + 100), 2) + u"：" + StorableTitle(info, fallback, room) + DateSuffix(date.value_or(today));
}

Str StoredTitle(const Str& line) {
  Str title = Mid(RTrim(line), 3);
  if (Len(title) >= DateSuffixLength && Right(title, DateSuffixLength).front() == form3text::DateOpen.front())
    title = Left(title, Len(title) - DateSuffixLength);
  // The separator typed after the number ("05：名人戦") is no part of the title.
  if (!title.empty() && (title[0] == u'：' || title[0] == u':' || title[0] == u' ' || title[0] == u'　'))
    title = Mid(title, 2);
  return Trim(title);
}

std::optional<Date> StoredDate(const Str& line) {
  const Str t = RTrim(line);
  if (Len(t) < 2 + DateSuffixLength) return std::nullopt;
  const Str suffix = Right(t, DateSuffixLength);
  // "（yy-mm-dd)"
  auto digits = [&suffix](int at) -> std::optional<int> {
    const char16_t a = suffix[static_cast<size_t>(at)], b = suffix[static_cast<size_t>(at + 1)];
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9') return std::nullopt;
    return (a - u'0') * 10 + (b - u'0');
  };
  if (suffix[0] != form3text::DateOpen.front() || suffix[3] != u'-' || suffix[6] != u'-') return std::nullopt;
  const std::optional<int> y = digits(1), m = digits(4), d = digits(7);
  if (!y || !m || !d || *m < 1 || *m > 12 || *d < 1 || *d > 31) return std::nullopt;
  // Two digits of the year: the library began this century.
  return Date{2000 + *y, *m, *d};
}

std::string ExportFileName(const Str& line) {
  Str name = Left(RTrim(line), 2);
  const Str title = StoredTitle(line);
  if (!title.empty()) name += u" " + title;
  return ToUtf8(SafeFileName(name)) + ".sgf";
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
  if (notes.size() > shown) text += u"\n" + form3text::SgfMoreNotes(static_cast<long>(notes.size() - shown));
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
