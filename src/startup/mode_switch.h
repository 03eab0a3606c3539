// The command line's mode: the argument text trimmed of spaces, upper-cased, first two
// characters; and the dispatch order of the start-up.
#pragma once

#include <string>
#include <string_view>

namespace fq {

enum class Mode { Settings, Saver, Preview, ChangePassword };

// Spaces only are trimmed (tabs stay), so a tab before "/s" gives no saver.
std::string NormalisedMode(std::string_view argument_text);

// "/C", "/S", "/P", "/A" in this order; anything else, the empty text included, is settings.
Mode ModeOf(std::string_view argument_text);

// The raw argument text after its first two characters, counted from its very start.
std::string_view PasswordParentText(std::string_view argument_text);

}  // namespace fq
