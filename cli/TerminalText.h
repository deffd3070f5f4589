#pragma once

#include <string>
#include <string_view>

// `text` made safe to show on a terminal: UTF-8 characters pass, tab and line
// feed too; control characters are shown instead of obeyed (C0 as "^[",
// DEL as "^?", C1 as "\u009B") and bytes that are not UTF-8 as "\xE9". A
// carrier's message is anyone's to write, and a terminal obeys escape
// sequences that retitle it, clear it or worse.
std::string TerminalSafe(std::string_view text);
