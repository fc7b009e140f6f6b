// Set files for Upvane as the tests write them: values stored scrambled, CRLF lines.
#pragma once

#include <map>
#include <string>

namespace qs::e2e {

// The stored form of a set-file value: byte b at index i is kept as b ^ (i & 0xFF) ^ 0xA7.
// Written here independently of the program's own code, so that a fault there shows.
std::string ScrambleValue(const std::string& plain);

// Plain values of a complete set file pointing at `webLink`.
std::map<std::string, std::string> ExampleValues(const std::string& webLink);

// The text of a set file: the section with each key's value scrambled, CRLF lines.
std::string MakeSetFileText(const std::map<std::string, std::string>& plainValues,
                            const std::string& section = "information");

} // namespace qs::e2e
