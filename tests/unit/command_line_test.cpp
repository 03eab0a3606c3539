// The Windows side's split of its command line into the program's path and the argument text.
#include <gtest/gtest.h>

#include <string>

#include "command_line.h"

namespace fq::win32 {
namespace {

TEST(CommandLine, TheArgumentTextFollowsTheProgramsPathQuotedOrNot) {
  const wchar_t* kLong = L"C:\\Program Files\\Fly Saver.scr";
  const wchar_t* kShort = L"C:\\PROGRA~1\\FLYSAV~1.SCR";
  const struct {
    const wchar_t* command_line;
    const wchar_t* arguments;
  } cases[] = {
      {L"\"C:\\Program Files\\Fly Saver.scr\" /s", L"/s"},
      {L"\"C:\\Program Files\\Fly Saver.scr\"/c:123", L"/c:123"},
      {L"\"C:\\Program Files\\Fly Saver.scr", L""},
      {L"C:\\Program Files\\Fly Saver.scr /s", L"/s"},
      {L"c:\\program files\\FLY SAVER.SCR\t \t/p 123", L"/p 123"},
      {L"C:\\PROGRA~1\\FLYSAV~1.SCR /c:4242", L"/c:4242"},
      {L"Fly Saver.scr /a 5", L"/a 5"},
      {L"C:\\Program Files\\Fly Saver.scr", L""},
      {L"C:\\Program Files\\Fly Saver.scrx /s", L"Files\\Fly Saver.scrx /s"},
      {L"C:\\Other\\x.scr  /s 1 ", L"/s 1 "},
      {L"x.scr", L""},
  };
  for (const auto& c : cases) {
    const std::wstring_view arguments = ArgumentsOf(c.command_line, {kLong, kShort, L"Fly Saver.scr", L"FLYSAV~1.SCR"});
    EXPECT_TRUE(arguments == c.arguments) << "for " << testing::PrintToString(std::wstring(c.command_line));
  }
}

}  // namespace
}  // namespace fq::win32
