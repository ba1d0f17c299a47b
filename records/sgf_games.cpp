#include "records/sgf_games.h"

#include "core/cp932.h"
#include "core/text.h"
#include "records/form3.h"
#include "records/game_files.h"
#include "records/texts.h"
#include "sgf/sgf_tree.h"

namespace sol {

SgfFileGames ReadSgfGames(const std::string& path) {
  const sgf::Collection collection = ReadSgfCollection(path);
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

Str StorableTitle(const sgf::GameInfo& info, const Str& fallback, int maxChars) {
  Str raw = Trim(sgf::GameTitle(info));
  if (raw.empty()) raw = Trim(fallback);
  return StorableText(raw, maxChars);
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

}  // namespace sol
