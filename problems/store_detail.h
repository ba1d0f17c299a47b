// Helpers shared by the store's source files; not for use elsewhere.
#pragma once

#include <string>
#include <string_view>

#include "core/record_file.h"
#include "problems/store.h"

namespace sol::store_detail {

// FileError unless category is 1..4.
void CheckCategory(int category);

// The number of used records of a block whose bytes (from the block's first
// record on, at most the whole block) are `bytes`. A partial record at the
// end reads as if padded with zeros.
int UsedCount(std::string_view bytes, int length);

// Exactly `length` bytes: `bytes` cut or padded with zeros, the way a record
// cut off at the end of a file reads.
std::string Whole(std::string_view bytes, int length);

// Problem number of a record's bytes, missing bytes reading as zeros.
inline int16_t ProblemNumberOf(std::string_view bytes) {
  return bytes.size() >= 2 ? GetInt16(bytes, 0) : GetInt16(Whole(bytes, 2), 0);
}

// The bytes of the block's records that the file holds (at most the whole
// block), read in one go. A partial trailing record comes out zero-padded.
std::string ReadBlockBytes(const std::string& path, ProblemFile f, int category);

}  // namespace sol::store_detail
