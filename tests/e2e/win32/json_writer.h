// A small streaming JSON writer for the inspector's output: objects, arrays, texts and
// numbers, with the commas placed for the caller. Wide texts are written as UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fq::inspect {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of the current object.
  JsonWriter& Key(std::string_view name);
  JsonWriter& Text(std::wstring_view text);
  JsonWriter& Text(std::string_view utf8);
  JsonWriter& Number(int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& str() const { return out_; }

 private:
  void BeforeValue();
  void Quoted(std::string_view utf8);

  std::string out_;
  // One entry per open object or array: whether it holds a member yet.
  std::vector<bool> has_member_;
  bool after_key_ = false;
};

std::string Utf8(std::wstring_view wide);

}  // namespace fq::inspect
