// What the programs tell a person (--help, --version, the messages on standard
// error) in that person's language, from the one catalogue both programs share.
// What scripts read (the captions, manacalc-cli --batch's answers, the exit
// status) never goes through here.
#pragma once

#include <string>
#include <string_view>

#if defined(__GNUC__)
#define MANACALC_FORMAT_ARG [[gnu::format_arg(1)]]
#else
#define MANACALC_FORMAT_ARG
#endif

namespace messages {

// Picks the catalogue once, before the first message: the locale's LC_MESSAGES
// (or LANGUAGE) through gettext, on Windows the user's UI language.
void init();

// The translation of an English message, or the message itself. The compiler
// checks a translated format's arguments as it would the English format's.
MANACALC_FORMAT_ARG const char* translate(const char* english);

// What --version prints for the program named: its version, the copyright and
// the licence, the licence translated.
std::string versionText(std::string_view program);

}  // namespace messages

// The markers xgettext looks for (po/manacalc.pot): _() translates where it is
// used, N_() only marks a text that is translated later through _().
#define _(english) ::messages::translate(english)
#define N_(english) english
