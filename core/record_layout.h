// Record layouts described once, as a table of fields, and the encoding and
// decoding that the table drives.
//
// A record is its fields one after another, with no gaps: an int16 field is
// two bytes, little-endian; a text field is a fixed number of CP932 bytes,
// cut before a character that does not fit whole and padded with blanks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/cp932.h"
#include "core/record_file.h"
#include "ui/controls.h"

namespace sol {

template <typename R>
struct RecordField {
  using Record = R;
  int16_t R::*number = nullptr;  // an int16 field,
  Str R::*text = nullptr;        // or a text field of `width` bytes
  int width = 2;
};

template <typename R>
constexpr RecordField<R> Int16Field(int16_t R::*member) {
  return {member, nullptr, 2};
}

template <typename R>
constexpr RecordField<R> TextField(Str R::*member, int width) {
  return {nullptr, member, width};
}

template <typename R, std::size_t N>
using RecordLayout = std::array<RecordField<R>, N>;

template <typename R, std::size_t N>
constexpr int LayoutLength(const RecordLayout<R, N>& layout) {
  int length = 0;
  for (const RecordField<R>& f : layout) length += f.width;
  return length;
}

// Where a field (an int16 or a text member) starts in the record.
template <typename R, std::size_t N, typename M>
constexpr std::size_t FieldOffset(const RecordLayout<R, N>& layout, M R::*member) {
  std::size_t at = 0;
  for (const RecordField<R>& f : layout) {
    if constexpr (std::is_same_v<M, Str>) {
      if (f.text == member) return at;
    } else {
      if (f.number == member) return at;
    }
    at += static_cast<std::size_t>(f.width);
  }
  throw "no such field";
}

// The layout is a template argument so that each field's kind is known at
// compile time: a record without text never instantiates the text code.
template <const auto& Layout, std::size_t I = 0, typename R>
void EncodeFields(const R& r, char* rec) {
  if constexpr (I < Layout.size()) {
    constexpr RecordField<R> f = Layout[I];
    if constexpr (f.text != nullptr)
      EncodeFixedInto(r.*f.text, rec, f.width);
    else
      PutInt16(rec, r.*f.number);
    EncodeFields<Layout, I + 1>(r, rec + f.width);
  }
}

template <const auto& Layout, std::size_t I = 0, typename R>
void DecodeFields(R& r, std::string_view bytes, std::size_t at) {
  if constexpr (I < Layout.size()) {
    constexpr RecordField<R> f = Layout[I];
    if constexpr (f.text != nullptr)
      r.*f.text = sol::Decode(bytes.substr(at, static_cast<std::size_t>(f.width)));
    else
      r.*f.number = GetInt16(bytes, at);
    DecodeFields<Layout, I + 1>(r, bytes, at + static_cast<std::size_t>(f.width));
  }
}

// Exactly LayoutLength(Layout) bytes written at `out`.
template <const auto& Layout, typename R>
void EncodeRecordInto(const R& r, char* out) {
  EncodeFields<Layout>(r, out);
}

template <const auto& Layout, typename R>
std::string EncodeRecord(const R& r) {
  std::string rec(static_cast<std::size_t>(LayoutLength(Layout)), '\0');
  EncodeRecordInto<Layout>(r, rec.data());
  return rec;
}

// Bytes missing at the end of a record cut off by the end of its file read as
// zeros; text is decoded whole, trailing blanks included.
template <const auto& Layout>
auto DecodeRecord(std::string_view bytes) {
  typename std::remove_cvref_t<decltype(Layout)>::value_type::Record r;
  const std::size_t length = static_cast<std::size_t>(LayoutLength(Layout));
  std::string padded;
  if (bytes.size() < length) {
    padded.assign(bytes);
    padded.resize(length, '\0');
    bytes = padded;
  }
  DecodeFields<Layout>(r, bytes, 0);
  return r;
}

}  // namespace sol
