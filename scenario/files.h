// Field layouts of the seven data files, for writing and checking records
// directly from a scenario.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sol {

struct FieldLayout {
  int offset;
  int width;  // bytes
  bool text;
};

struct FileLayout {
  std::string fileName;
  int recordLength;
  std::vector<FieldLayout> fields;
};

const FileLayout* FindFileLayout(const std::string& fileName);

// Builds a record from scenario words (numbers and texts in field order).
std::optional<std::string> EncodeRecord(const FileLayout& layout, const std::vector<std::string>& values,
                                        std::string& error);
// The fields of a record as texts; text fields with trailing blanks removed.
std::vector<std::string> DecodeRecord(const FileLayout& layout, const std::string& bytes);

}  // namespace sol
